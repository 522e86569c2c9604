#!/usr/bin/env bash
# Installs the missing Debian packages, then configures and builds Quillon.
#   tools/setup.sh run    build and start Quillon
#   tools/setup.sh test   build and run every test
# Both are idempotent. BUILD_DIR (default: build) and CMAKE_BUILD_TYPE may be set.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode=${1:-run}
build=${BUILD_DIR:-$here/build}

packages=$(grep -v -E '^\s*(#|$)' "$here/tools/debian-packages.txt")
missing=()
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-Debug}" \
  -DQUILLON_SANITIZE="${QUILLON_SANITIZE:-ON}"
cmake --build "$build" --parallel "$(nproc)"

case "$mode" in
  run)
    exec "$build/app/Quillon"
    ;;
  test)
    # The Qt-free disc-access layer must keep compiling for Windows.
    cmake -S "$here/discaccess" -B "$build-mingw" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build-mingw" --parallel "$(nproc)"
    # Trackprobe.dll, whose export table is checked after linking.
    cmake -S "$here/trackprobe" -B "$build-mingw-trackprobe" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build-mingw-trackprobe" --parallel "$(nproc)"
    # cdrskin records onto file-backed pseudo-drives in the tests; as root it wants this
    # permission file before it agrees to.
    if [ "$(id -u)" -eq 0 ]; then
      mkdir -p /root/cdrskin_permissions && touch /root/cdrskin_permissions/allow_emulated_drives
    fi
    export QT_QPA_PLATFORM=offscreen
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
    export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tools/lsan.supp:print_suppressions=0}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    cd "$build" && ctest --output-on-failure --parallel "$(nproc)"
    ;;
  *)
    echo "usage: $0 run|test" >&2; exit 2 ;;
esac
