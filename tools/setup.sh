# Sourced by ./run and ./test: installs the Debian packages the project needs
# when any is missing, then configures and builds the given preset.
# Usage: setup_project PRESET
PACKAGES=(qt6-base-dev libfontconfig-dev chromium chromium-driver python3-selenium libsdl2-mixer-dev libfluidsynth-dev timgm6mb-soundfont
          fonts-ipafont-gothic fonts-ipafont-mincho ninja-build cmake g++ clang
          libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev pkg-config libxcb1-dev libxcb-damage0-dev xvfb xauth
          python3 qt6-translations-l10n desktop-file-utils appstream shared-mime-info
          lintian dpkg-dev
          libglib2.0-bin gtk-update-icon-cache)

install_missing_packages() {
  local missing=()
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing Debian packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    echo "(not root: using sudo for apt-get)"
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

setup_project() {
  local preset=${1:-default}
  install_missing_packages
  local dir
  case "$preset" in
    default) dir=build ;;
    *) dir=build-$preset ;;
  esac
  if [ ! -f "$dir/build.ninja" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  cmake --build --preset "$preset"
}
