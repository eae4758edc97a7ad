#!/usr/bin/env bash
# Shared by ./run and ./test: installs the Debian packages the build needs (only those that are
# missing, with sudo when not root), configures build/ once and brings it up to date.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-qpa-plugins
  libfreetype-dev libfontconfig-dev fonts-liberation2 fonts-dejavu-core
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  libgif-dev libstb-dev
  xvfb xauth
  desktop-file-utils appstream
)
# Callers may ask for more (.ci/run adds clang and its sanitizer runtimes).
read -r -a extra_packages <<<"${KV_EXTRA_PACKAGES:-}"
packages+=("${extra_packages[@]}")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# KV_CMAKE_ARGS (e.g. -DKV_REQUIRE_CORPUS=ON) are applied whenever given.
read -r -a cmake_args <<<"${KV_CMAKE_ARGS:-}"
if [ ! -f build/build.ninja ] || ((${#cmake_args[@]})); then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "${cmake_args[@]}"
fi
cmake --build build -j "${KV_JOBS:-2}"
