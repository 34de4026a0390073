#!/usr/bin/env bash
# Corvane's two entry points on a fresh Debian 12 machine (as root):
#   ./corvane.sh run    install what is missing, build, start the desktop program with the bundled
#                       demo firmware opened (without a display: a picture of the window instead)
#   ./corvane.sh test   install what is missing, build with AddressSanitizer and
#                       UndefinedBehaviorSanitizer, run every test, then run each fuzz target
#                       for a few seconds over its saved inputs (fuzz/run.sh, clang)
# and, for packaging:
#   ./corvane.sh package      build the Debian package build-package/corvane_*.deb
#   ./corvane.sh windows-cli  cross-build build-windows/bin/corvane-cli.exe with MinGW-w64
#                             (add "test" to also build the core's unit tests and run them
#                             under wine)
set -euo pipefail
cd "$(dirname "$0")"

# What the programs and their tests need from Debian, one package a line.
PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n
  libqscintilla2-qt6-dev
  libcli11-dev
  nlohmann-json3-dev
  libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  xvfb xauth
  help2man
)
JOBS=$(nproc 2>/dev/null || echo 2)

install_dependencies() {  # install_dependencies [extra packages...]
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

build() {  # build DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$JOBS"
}

case "${1:-}" in
  run)
    install_dependencies
    build build -DCMAKE_BUILD_TYPE=Release -DCORVANE_BUILD_TESTS=OFF
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
      ./build/bin/corvane build/demo/demo.bin -m 2
    else
      echo "No display: starting offscreen and saving a picture of the window to build/demo/corvane.png"
      QT_QPA_PLATFORM=offscreen ./build/bin/corvane build/demo/demo.bin -m 2 \
        --screenshot build/demo/corvane.png
    fi
    ;;
  test)
    install_dependencies
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir build-asan --output-on-failure -j "$JOBS"
    CORVANE_FUZZ_GENERATE=0 CORVANE_FUZZ_RUNS=300 fuzz/run.sh 3
    ;;
  package)
    install_dependencies dpkg-dev fakeroot
    build build-package -DCMAKE_BUILD_TYPE=Release -DCORVANE_BUILD_TESTS=OFF
    (cd build-package && cpack -G DEB)
    ls build-package/corvane_*.deb
    ;;
  windows-cli)
    install_dependencies g++-mingw-w64-x86-64-posix
    tests=OFF
    [ "${2:-}" = "test" ] && tests=ON
    build build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DCORVANE_BUILD_UI=OFF -DCORVANE_BUILD_BENCH=OFF -DCORVANE_BUILD_TESTS=$tests
    ls build-windows/bin/corvane-cli.exe
    if [ "$tests" = ON ]; then
      install_dependencies wine64
      WINEDEBUG=-all wine64 build-windows/bin/corvane_tests.exe --gtest_brief=1
    fi
    ;;
  *)
    echo "usage: $0 run|test|package|windows-cli" >&2
    exit 1
    ;;
esac
