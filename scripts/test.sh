#!/usr/bin/env bash
# Builds and runs every test:
#   - the Windows builds: the shipped 32-bit exe, and a 64-bit build of the same source;
#   - the native suite, whose end-to-end cases also run against that 64-bit build under Wine
#     (this machine kind runs no 32-bit x86 code, so a 32-bit exe cannot be started here);
#   - the native suite again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   - a bounded run of both fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/lib/ensure-build-tools.sh
source scripts/lib/ensure-windows-tools.sh
jobs=$(nproc)

windows_build() {
    cmake -S . -B "build/$1" -DCMAKE_TOOLCHAIN_FILE="cmake/$2.cmake" -DZELMAR_WERROR=ON >/dev/null
    cmake --build "build/$1" -j "$jobs"
}

echo "== Windows builds"
windows_build windows i686-w64-mingw32
windows_build windows64 x86_64-w64-mingw32
file build/windows/Zelmar_decruncher.exe | tee /dev/stderr | grep -q 'PE32 executable (console) Intel 80386'

echo "== a fresh Wine prefix"
export WINEPREFIX=$root/build/native/wine-prefix WINEDEBUG=-all
rm -rf "$WINEPREFIX"
mkdir -p build/native
wineboot -i >/dev/null 2>&1
wineserver -w
trap 'wineserver -k 2>/dev/null || true' EXIT

echo "== native build; tests native and under Wine"
cmake -S . -B build/native -DZELMAR_WERROR=ON \
    -DZELMAR_WINDOWS_EXE="$root/build/windows64/Zelmar_decruncher.exe" \
    -DZELMAR_WINE_PREFIX="$WINEPREFIX" >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

echo "== sanitizer build and tests"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DZELMAR_SANITIZE=ON -DZELMAR_WERROR=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== bounded fuzzing"
ZELMAR_FUZZ_BUILD=$root/build/fuzz bash scripts/lib/run-fuzz-smoke.sh
