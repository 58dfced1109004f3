#!/usr/bin/env bash
# A short run of every fuzz target: builds the fuzz_* targets of build/fuzz with clang and runs
# each for FUZZ_SECONDS (default 25) on its corpus, as many at once as there are processors.
# Fails when any target finds a crash, leak, timeout or out-of-memory, and leaves the input that
# caused it in build/fuzz/artifacts/<target>/.
#
# Every target the fuzz/ CMakeLists builds is picked up; nothing here lists them. A target's
# corpus lives in build/fuzz/corpus/<target>/ (it grows from run to run, outside git); inputs
# in fuzz/seeds/<target>/, when that folder exists, are read as extra starting points.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-25}
dir=build/fuzz
jobs=${JOBS:-$(nproc)}

CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DZENTRIK_FUZZ=ON -DZENTRIK_TESTS=OFF \
    -DZENTRIK_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only the fuzz targets (the rest of the project is not needed here).
mapfile -t names < <(cmake --build "$dir" --target help |
  sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
if [[ ${#names[@]} -eq 0 ]]; then
  echo "fuzz-smoke: the build has no fuzz targets" >&2
  exit 1
fi
cmake --build "$dir" -j "$jobs" --target "${names[@]}"

targets=()
for name in "${names[@]}"; do
  exe=$(find "$dir" -type f -name "$name" -perm -u+x -print -quit)
  [[ -n "$exe" ]] || { echo "fuzz-smoke: $name was not built" >&2; exit 1; }
  targets+=("$exe")
done

# One target: its log goes to build/fuzz/artifacts/<target>/run.log and its exit status to
# .../status (0 when it found nothing).
run_target() {
  local exe=$1 name corpus artifacts seeds=() status=0
  name=$(basename "$exe")
  corpus="$dir/corpus/$name"
  artifacts="$dir/artifacts/$name"
  mkdir -p "$corpus" "$artifacts"
  [[ -d "fuzz/seeds/$name" ]] && seeds=("fuzz/seeds/$name")
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" >"$artifacts/run.log" 2>&1 ||
    status=$?
  echo "$status" >"$artifacts/status"
}

# The targets are single-threaded: run as many at once as there are processors.
for exe in "${targets[@]}"; do
  rm -f "$dir/artifacts/$(basename "$exe")/status"
  while (( $(jobs -rp | wc -l) >= jobs )); do
    wait -n || true
  done
  run_target "$exe" &
done
wait

failed=()
for exe in "${targets[@]}"; do
  name=$(basename "$exe")
  log="$dir/artifacts/$name/run.log"
  if [[ "$(cat "$dir/artifacts/$name/status" 2>/dev/null)" == 0 ]]; then
    echo "fuzz-smoke: $name ok ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" |
      grep -o '[0-9]*$') runs)"
  else
    echo "fuzz-smoke: $name FAILED; log: $log" >&2
    tail -n 40 "$log" >&2
    failed+=("$name")
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzz-smoke: ${#failed[@]} target(s) failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz-smoke: all ${#targets[@]} targets ran ${seconds} s without a crash"
