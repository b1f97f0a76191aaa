#!/usr/bin/env bash
# Runs every generator of our pictures, sounds, tune, icons and sample book
# into a temporary folder and compares what they make with the committed
# files, byte for byte, so that the assets stay reproducible.
#   tools/check_generated.sh PATH/TO/velreader_sample_book
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sample_book_tool=${1:?usage: check_generated.sh PATH/TO/velreader_sample_book}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$root"
status=0

# same GENERATED_FOLDER COMMITTED_FOLDER PATTERN: the folders hold the same
# files matching PATTERN, with the same bytes.
same() {
  local made=$1 committed=$2 pattern=$3
  if ! diff <(cd "$made" && find . -type f -name "$pattern" | sort) \
            <(cd "$committed" && find . -type f -name "$pattern" | sort); then
    echo "FAIL: $committed and its generator make different sets of files ($pattern)"
    status=1
    return
  fi
  while IFS= read -r f; do
    if ! cmp -s "$made/$f" "$committed/$f"; then
      echo "FAIL: $committed/${f#./} differs from what its generator makes"
      status=1
    fi
  done < <(cd "$made" && find . -type f -name "$pattern" | sort)
}

mkdir -p "$work/game" "$work/reader" "$work/sounds" "$work/icons" "$work/book"
python3 tools/art/make_game_art.py "$work/game" > /dev/null
same "$work/game" assets/game '*.xpm'
python3 tools/art/check_art.py > /dev/null || { echo "FAIL: tools/art/check_art.py"; status=1; }
python3 tools/art/make_reader_art.py "$work/reader" > /dev/null
same "$work/reader" assets/reader/E '*.png'
python3 tools/sound/make_effects.py "$work/sounds" > /dev/null
python3 tools/sound/make_tune.py "$work/sounds/maki.mid" > /dev/null
same "$work/sounds" assets/game/sounds '*'
python3 tools/art/make_icons.py "$work/icons" > /dev/null
same "$work/icons" assets/icons '*.png'
same "$work/icons" assets/icons '*.svg'
"$sample_book_tool" reader/tools/sample_story.txt "$work/book/hitsuji_no_tabi.vln" > /dev/null
same "$work/book" assets/reader/Book '*.vln'

[ $status -eq 0 ] && echo "every generated file matches its generator"
exit $status
