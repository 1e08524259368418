#!/usr/bin/env bash
# Installs every system package the project builds, tests and benchmarks with.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build ccache clang lld libclang-rt-14-dev pkg-config
  # host UI framework; its SVG module renders the window's pictures at build time
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev
  # setup core: HTTPS client and SHA-1 (headers to build, libraries opened at
  # run time), JSON; the test report server makes certificates with openssl
  libcurl4-openssl-dev libssl-dev openssl nlohmann-json3-dev
  # extractor carried inside the setup and used to build the payload
  7zip
  # the font family that stands in for families a machine lacks: text is
  # measured and drawn with it wherever a form's family is missing, so tests
  # pin its measurements and pixels (skin/host/Fonts.h)
  fonts-dejavu-core
  # tests, benchmarks, screenshots; the shortcuts' own format checker
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb x11-utils imagemagick python3 procps desktop-file-utils
  # the interactive end-to-end tests work the window as a person would
  xdotool
  # the Windows build (mingw preset): the cross compiler and resource
  # compiler, and Wine to run its tests; GoogleTest comes from the googletest
  # sources above, the Windows extractor from npm below
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The stand-alone Windows 7-Zip console program the Windows setup carries
# (7za.exe of the npm package 7zip-bin), outside the repository where the
# build looks for it.
npm_prefix="${OSTREL_NPM_PREFIX:-/opt/ostrel/npm}"
if [ ! -f "$npm_prefix/node_modules/7zip-bin/win/x64/7za.exe" ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  # Node.js may come with its own npm; Debian's is only a fallback.
  command -v npm >/dev/null || $SUDO apt-get install -y -qq --no-install-recommends npm
  $SUDO mkdir -p "$npm_prefix"
  $SUDO npm install --prefix "$npm_prefix" --no-audit --no-fund --no-save 7zip-bin@5.2.0 >/dev/null
fi
