#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang 14 (AddressSanitizer and UndefinedBehavior-
# Sanitizer on, in build-fuzz) and runs each for the given number of seconds (default 30),
# starting from its seeds in fuzz/corpus/<target>/. Inputs that crash are kept in
# <build>/artifacts/<target>/; the script then fails. CORVANTA_FUZZ_BUILD names the build folder
# (default build-fuzz; .ci/run uses the sanitizer build, which holds the targets too).
# CORVANTA_FUZZ_SEED fixes libFuzzer's random seed, so that a run can be repeated input for input
# (CI uses one; by default each run explores anew).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
bash scripts/setup.sh
export CCACHE_BASEDIR="$PWD"
build="${CORVANTA_FUZZ_BUILD:-build-fuzz}"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DCORVANTA_FUZZ=ON -DCORVANTA_TESTS=OFF >/dev/null
else
  cmake -S . -B "$build" >/dev/null # a target file added since the last build
fi
targets=()
for source in fuzz/fuzz_*.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  # Absolute: a target may change its working folder.
  work="$PWD/$build/corpus/$name"
  artifacts="$PWD/$build/artifacts/$name"
  mkdir -p "$work" "$artifacts"
  log="$build/$name.log"
  if "$build/$target" ${CORVANTA_FUZZ_SEED:+-seed="$CORVANTA_FUZZ_SEED"} -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" "$PWD/fuzz/corpus/$name" >"$log" 2>&1; then
    result="no finding"
  else
    result="FINDING (see $log and $artifacts)"
    failed+=("$name")
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  echo "fuzz $name: ${runs:-?} runs, ${rate:-?} per second, $result"
done
if ((${#failed[@]})); then
  echo "Fuzzing found faults in: ${failed[*]}" >&2
  exit 1
fi
