#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz: the core only, with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each one from its
# seed corpus for SECONDS (default 20). New inputs collect in
# build/fuzz/corpus/<target>; a crash, hang or sanitizer report is kept in
# build/fuzz/findings and fails the run.
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

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTREL_FUZZ=ON -DKESTREL_CORE_ONLY=ON -DKESTREL_BUILD_TESTS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

mkdir -p build/fuzz/findings
failed=()
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  echo "Fuzzing $target for ${seconds} s"
  # -timeout: one input running longer than 10 s is a hang.
  if ! "build/fuzz/bin/${target}_fuzzer" "$corpus" "fuzz/corpus/$target" \
      -dict=fuzz/at.dict -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=8192 -print_final_stats=1 \
      -artifact_prefix="build/fuzz/findings/${target}-" >"build/fuzz/$target.log" 2>&1; then
    tail -n 60 "build/fuzz/$target.log"
    failed+=("$target")
  else
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "build/fuzz/$target.log" | tr '\n' ' '
    echo
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs in build/fuzz/findings)" >&2
  exit 1
fi
echo "Fuzzing found nothing."
