#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz: the core only, with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each one from its
# seed corpus for SECONDS (default 20). New inputs collect in
# build/fuzz/corpus/<target>; a crash, hang or sanitizer report is kept in
# build/fuzz/findings and fails the run. The targets run side by side, one per
# processor.
# Usage: scripts/lib/fuzz-run.sh [SECONDS] [TARGET...]
#   TARGET: line_builder ini at_reply_store read_job write_job (default: all)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/lib/setup.sh clang libclang-rt-14-dev

seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(line_builder ini at_reply_store read_job write_job)

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_UNITY_BUILD=ON \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTREL_FUZZ=ON -DKESTREL_CORE_ONLY=ON -DKESTREL_BUILD_TESTS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

mkdir -p build/fuzz/findings
# One run per target, as many at once as there are processors; each run is
# single-threaded, so the runs keep their full time each.
run_one() {
  local target=$1 corpus=build/fuzz/corpus/$1
  mkdir -p "$corpus"
  # -timeout: one input running longer than 10 s is a hang.
  "build/fuzz/bin/${target}_fuzzer" "$corpus" "fuzz/corpus/$target" \
    -dict=fuzz/at.dict -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/findings/${target}-" >"build/fuzz/$target.log" 2>&1
}
declare -A pids=()
failed=()
reap() {
  local target=$1
  if wait "${pids[$target]}"; then
    echo "Fuzzed $target for ${seconds} s: $(grep -E '^stat::number_of_executed_units|^stat::new_units_added' \
      "build/fuzz/$target.log" | tr '\n' ' ')"
  else
    tail -n 60 "build/fuzz/$target.log"
    failed+=("$target")
  fi
}
slots=$(nproc)
running=()
for target in "${targets[@]}"; do
  if [ ${#running[@]} -ge "$slots" ]; then
    reap "${running[0]}"
    running=("${running[@]:1}")
  fi
  run_one "$target" &
  pids[$target]=$!
  running+=("$target")
done
for target in "${running[@]}"; do reap "$target"; done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs in build/fuzz/findings)" >&2
  exit 1
fi
echo "Fuzzing found nothing."
