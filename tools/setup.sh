#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing. Runs apt-get as root (directly, or through sudo when present).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  qt6-base-dev libgl-dev fonts-dejavu-core libasound2-dev libjack-jackd2-dev
  sox sndfile-programs fluidsynth
  libsndfile1-dev zlib1g-dev
  # A dummy JACK server for the JACK tests.
  jackd2
  # What the install check reads the desktop entry, icon and MIME type with.
  desktop-file-utils libxml2-utils shared-mime-info libglib2.0-bin
  # The drum-kit schema the kit export is checked against.
  hydrogen-data
)
# Extra packages for a named purpose, e.g. `tools/setup.sh fuzz`.
for extra in "$@"; do
  case "$extra" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    *) echo "setup.sh: unknown extra '$extra'" >&2; exit 1 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
