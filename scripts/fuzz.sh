#!/usr/bin/env bash
# Fuzzes one harness for a while, building it first; the corpus it grows is kept between runs.
#   scripts/fuzz.sh reader|extract SECONDS [libFuzzer option...]
# Growing corpus: fuzz/work/corpus-fuzz_HARNESS/; crash, leak and timeout inputs:
# fuzz/work/findings/. Both are outside git; a finding worth keeping goes, once fixed, into
# fuzz/corpus/regressions/.
set -euo pipefail

# shellcheck source=lib/fuzz-common.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/fuzz-common.sh"

if (($# < 2)) || [[ $1 != reader && $1 != extract ]] || [[ ! $2 =~ ^[0-9]+$ ]]; then
    echo "usage: scripts/fuzz.sh reader|extract SECONDS [libFuzzer option...]" >&2
    exit 2
fi
harness=fuzz_$1
seconds=$2
shift 2

root=$(fuzz_repo_root)
build=${ZELMAR_FUZZ_BUILD:-$root/build-fuzz}
fuzz_build "$root" "$build"

corpus=$root/fuzz/work/corpus-$harness
findings=$root/fuzz/work/findings
mkdir -p "$corpus" "$findings"
cp "$root"/fuzz/corpus/shared/* "$corpus"/
if [[ -d $root/fuzz/corpus/regressions ]]; then
    cp "$root"/fuzz/corpus/regressions/* "$corpus"/
fi

scratch=$(fuzz_scratch)
trap 'rm -rf "$scratch"' EXIT
# fuzz_extract makes its folders below TMPDIR.
export TMPDIR=$scratch

mapfile -t options < <(fuzz_options "$findings")
"$build/fuzz/$harness" "${options[@]}" -max_len="$fuzz_max_len" -max_total_time="$seconds" \
    "$@" "$corpus"
