#!/usr/bin/env bash
# Builds and runs every test: the native suite, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/ensure-build-tools.sh
jobs=$(nproc)

echo "== native build and tests"
cmake -S . -B build/native -DZELMAR_WERROR=ON >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

echo "== sanitizer build and tests"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DZELMAR_SANITIZE=ON -DZELMAR_WERROR=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
