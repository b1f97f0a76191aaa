#!/usr/bin/env bash
# run_fuzzer.sh FUZZER WORKDIR SEEDDIR SECONDS
# Fuzzes for SECONDS on the seed corpus; new inputs go to WORKDIR, never into
# the repository. Exits non-zero when the fuzzer finds a crash.
set -euo pipefail
fuzzer=$1 work=$2 seeds=$3 seconds=$4
mkdir -p "$work"
exec "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/" "$work" "$seeds"
