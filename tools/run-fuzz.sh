#!/usr/bin/env bash
# tools/run-fuzz.sh BUILD SECONDS JOBS: runs every libFuzzer target of the FUZZ=1 build in BUILD for
# SECONDS, at most JOBS at a time, each over a working corpus (BUILD/fuzz-work/<target>/corpus)
# seeded from fuzz/corpus/<target>. Prints the executions per target; fails when a target found a
# crash, a sanitizer report, a leak or a time-out (the input lands in BUILD/fuzz-work/<target>/;
# once mended, keep it in fuzz/regressions/<target>/, which `make test` replays).
set -uo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
jobs=${3:-3}
root=$(cd "$(dirname "$0")/.." && pwd)

run_target() {
  local binary=$1 name=${1##*/fuzz_}
  local work="$build/fuzz-work/$name"
  mkdir -p "$work/corpus"
  "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/corpus" "$root/fuzz/corpus/$name" > "$work/log.txt" 2>&1
  echo $? > "$work/exit"
}

targets=("$build"/bin/fuzz_*)
for binary in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  run_target "$binary" &
done
wait

status=0
printf '%-14s %12s %10s  %s\n' target executions "per second" result
for binary in "${targets[@]}"; do
  name=${binary##*/fuzz_}
  work="$build/fuzz-work/$name"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log.txt")
  result=clean
  if [ "$(cat "$work/exit")" != 0 ]; then
    result="FAILED, see $work/log.txt"
    status=1
  fi
  printf '%-14s %12s %10s  %s\n' "$name" "${runs:-?}" "${rate:-?}" "$result"
done
exit $status
