#!/usr/bin/env bash
# Runs every benchmark of a bench build (default build/bench) and prints their results; see
# docs/benchmarks.md. A measurement, never a test gate: it fails only when a benchmark cannot run.
#   STARTUP_RUNS   starts of each program in the start-up benchmark (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/bench}
bench=$dir/bench

echo "== machine: $(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== device exchanges (bench/device)"
"$bench/device/device_bench"
echo "== frame composition (bench/ui)"
"$bench/ui/ui_bench"
echo "== first switch to each page (bench/ui)"
"$bench/ui/page_switch_bench"
echo "== start-up against a bare GTK3 window under Xvfb (bench/startup)"
"$bench/startup/startup_bench" --program "$dir/app/zentrik" \
    --bare "$bench/startup/bare_gtk_window" --runs "${STARTUP_RUNS:-10}"
