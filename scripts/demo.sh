#!/usr/bin/env bash
# Builds the tool and unpacks the demo archive into examples/data/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/ensure-build-tools.sh

cmake -S . -B build/native -DZELMAR_WERROR=ON >/dev/null
cmake --build build/native --target Zelmar_decruncher -j "$(nproc)" >/dev/null
build/native/Zelmar_decruncher examples/demo.pod
echo "Unpacked into examples/data/demo:"
find examples/data/demo -type f | sort
