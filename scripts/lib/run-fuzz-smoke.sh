#!/usr/bin/env bash
# A bounded fuzzing run for the test command: builds the harnesses, checks the committed seed
# corpus is what fuzz/make_corpus writes, replays the long seeds, then fuzzes both harnesses at
# once from a copy of the corpus with a fixed seed. Exits non-zero on any finding.
#   ZELMAR_FUZZ_SMOKE_SECONDS  fuzzing time per harness (default 45)
set -euo pipefail

# shellcheck source=fuzz-common.sh
source "$(dirname "${BASH_SOURCE[0]}")/fuzz-common.sh"
root=$(fuzz_repo_root)
build=${ZELMAR_FUZZ_BUILD:-$root/build-fuzz}
seconds=${ZELMAR_FUZZ_SMOKE_SECONDS:-45}

work=$(fuzz_scratch)
trap 'rm -rf "$work"' EXIT
# fuzz_extract makes its folders below TMPDIR, so nothing lands in the repo.
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR" "$work/artifacts"

fuzz_build "$root" "$build"

"$build/fuzz/make_corpus" "$work/generated"
for part in shared large; do
    if ! diff -r "$work/generated/$part" "$root/fuzz/corpus/$part"; then
        echo "fuzz/corpus/$part differs from what make_corpus writes; see fuzz/README.md" >&2
        exit 1
    fi
done

mapfile -t options < <(fuzz_options "$work/artifacts")
large=("$root"/fuzz/corpus/large/*)

# Runs one harness in the background; its log is checked afterwards.
start_harness() {
    local harness=$1 corpus=$work/corpus-$1
    mkdir -p "$corpus"
    cp "$root"/fuzz/corpus/shared/* "$corpus"/
    if [[ -d $root/fuzz/corpus/regressions ]]; then
        cp "$root"/fuzz/corpus/regressions/* "$corpus"/
    fi
    {
        "$build/fuzz/$harness" "${options[@]}" "${large[@]}" &&
            "$build/fuzz/$harness" "${options[@]}" -max_len="$fuzz_max_len" -seed=1 \
                -max_total_time="$seconds" "$corpus"
    } >"$work/$harness.log" 2>&1 &
}

# A clean exit with a sanitizer or check report in the log still fails.
check_harness() {
    local harness=$1 status=$2
    if ((status != 0)) || grep -Eq 'ERROR: |runtime error:|fuzz check failed' "$work/$harness.log"; then
        tail -n 60 "$work/$harness.log" >&2
        echo "$harness: FAILED (status $status)" >&2
        return 1
    fi
    grep -E '^Done ' "$work/$harness.log" | sed "s/^/$harness: /"
}

start_harness fuzz_reader
reader=$!
start_harness fuzz_extract
extract=$!
reader_status=0 extract_status=0
wait "$reader" || reader_status=$?
wait "$extract" || extract_status=$?
failed=0
check_harness fuzz_reader "$reader_status" || failed=$((failed + 1))
check_harness fuzz_extract "$extract_status" || failed=$((failed + 1))
echo "fuzz_smoke: $((2 - failed)) passed, $failed failed"
# The log tail above shows the failing input in Base64; the scratch folder goes on exit.
((failed == 0))
