# shellcheck shell=bash
# Shared by scripts/fuzz.sh and scripts/lib/run-fuzz-smoke.sh; sourced, runs nothing by itself.
# The fuzz build is clang with libFuzzer and sanitizers, in its own folder (build-fuzz/ unless
# ZELMAR_FUZZ_BUILD names another).

# shellcheck source=install-packages.sh
source "$(dirname "${BASH_SOURCE[0]}")/install-packages.sh"

fuzz_repo_root() {
    cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd
}

# Longest input the fuzzer makes; longer seeds live in fuzz/corpus/large/ and are replayed whole.
# shellcheck disable=SC2034  # read by the scripts that source this file
fuzz_max_len=4096

# Installs clang and its libFuzzer runtime when missing (Debian, as root); apt runs only then.
fuzz_ensure_tools() (
    set -euo pipefail
    local want=()
    command -v cmake >/dev/null 2>&1 || want+=(cmake)
    command -v clang++ >/dev/null 2>&1 || want+=(clang)
    if ! command -v clang >/dev/null 2>&1 ||
        [[ ! -f $(clang --print-runtime-dir)/libclang_rt.fuzzer-x86_64.a ]]; then
        want+=(libclang-rt-dev)
    fi
    install_packages "${want[@]}"
)

fuzz_build() {
    local root=$1 build=$2
    local generator=()
    fuzz_ensure_tools
    if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" "${generator[@]}" -DZELMAR_FUZZ=ON \
        -DZELMAR_TESTS=OFF -DZELMAR_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --parallel "$(nproc)" --target fuzz_reader fuzz_extract make_corpus
}

# A fresh scratch folder, in memory where the machine has it: fuzz_extract creates and removes
# a folder tree for every input, and on a journalled disk that waits on the disk, not the CPU.
fuzz_scratch() {
    if [[ -d /dev/shm && -w /dev/shm ]]; then
        mktemp -d /dev/shm/zelmar-fuzz.XXXXXX
    else
        mktemp -d
    fi
}

# Options every run gets: each finding (crash, sanitizer report, leak, slow input, memory
# blow-up) ends the run with a non-zero status.
fuzz_options() {
    local artifacts=$1
    printf '%s\n' -timeout=10 -rss_limit_mb=2048 -detect_leaks=1 \
        -print_final_stats=1 "-artifact_prefix=$artifacts/"
}

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
