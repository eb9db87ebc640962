#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer with AddressSanitizer and UBSan) and runs each
# for SECONDS (default 15), from its seed corpus in fuzz/corpus/<name> (the Jet reader also
# from tests/data/jet_files). Prints each target's executions; exits non-zero on any crash,
# leak, hang or failed property, leaving the input that found it in the work folder.
#   fuzz/run.sh [SECONDS] [TARGET...]     e.g. fuzz/run.sh 600 for a long run by hand
set -uo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-15}
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -eq 0 ] && TARGETS=(ProfileString StatementParser NumericText SqliteSource JetSource)
BUILD=${KTV_FUZZ_BUILD:-build-fuzz}

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, skipped"; exit 0
fi
# The fuzz build is clang's, whose warnings differ from GCC's: they are not made errors here.
env -u CI cmake -S . -B "$BUILD" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKTV_FUZZ=ON -DKTV_SANITIZE=ON -DKTV_TESTS=OFF -DKTV_BENCH=OFF -DKTV_WERROR=OFF >/dev/null || exit 1
targets=()
for t in "${TARGETS[@]}"; do targets+=("fuzz_$t"); done
cmake --build "$BUILD" -j"$(nproc)" --target "${targets[@]}" >"$BUILD/fuzz-build.log" 2>&1 || {
  tail -30 "$BUILD/fuzz-build.log"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/ktvfuzz.XXXXXX")
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
failed=0
for t in "${TARGETS[@]}"; do
  mkdir -p "$WORK/$t"
  seeds=("fuzz/corpus/$t")
  [ "$t" = JetSource ] && seeds+=(tests/data/jet_files)
  TMPDIR="$WORK" "$BUILD/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
    -max_len=262144 -print_final_stats=1 -artifact_prefix="$WORK/$t-" "$WORK/$t" "${seeds[@]}" \
    >"$WORK/$t.log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$WORK/$t.log" | grep -o '[0-9]*$')
  if [ $rc -ne 0 ]; then
    failed=1
    echo "fuzz $t: FAILED after ${runs:-?} runs; input and log in $WORK"
    grep -E 'ERROR|SUMMARY|==[0-9]+==' "$WORK/$t.log" | head -5
  else
    echo "fuzz $t: ${runs:-?} runs in ${SECONDS_EACH} s, no finding"
  fi
done
[ $failed -eq 0 ] && rm -rf "$WORK"
exit $failed
