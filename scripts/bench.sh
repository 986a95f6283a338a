#!/usr/bin/env bash
# Builds a Release tool and the workload writer in build-bench/, then times extraction against
# GNU tar (see bench/README.md). Work files go to bench/work/ and are removed as it goes.
# Extra arguments go to bench/bench_extract.py (e.g. --rounds 3 --workloads small).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"

# bsdtar is the second reference and /usr/bin/time reads the peak RSS; installed only when
# missing, and only where apt can be used.
want=()
command -v bsdtar >/dev/null 2>&1 || want+=(libarchive-tools)
[[ -x /usr/bin/time ]] || want+=(time)
command -v strace >/dev/null 2>&1 || want+=(strace)
if ((${#want[@]} > 0)) && [[ $(id -u) == 0 ]] && command -v apt-get >/dev/null 2>&1; then
    install_missing() { apt-get install -y -q -o DPkg::Lock::Timeout=600 "${want[@]}" >/dev/null; }
    # A fresh machine may have no package lists yet.
    install_missing || { apt-get update -q >/dev/null && install_missing; } ||
        echo "bench: could not install ${want[*]}; going on without" >&2
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZELMAR_BENCH=ON -DZELMAR_TESTS=OFF \
    >/dev/null
cmake --build "$build" --parallel 2 >/dev/null

exec python3 "$root/bench/bench_extract.py" \
    --tool "$build/Zelmar_decruncher" \
    --make-workloads "$build/bench/make_workloads" \
    --work "$root/bench/work" "$@"
