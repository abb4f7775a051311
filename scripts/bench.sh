#!/usr/bin/env bash
# One report of every benchmark: builds the mingw64 tree, runs each benchmark under bench/ several
# times in one Wine test bed, and prints one table of medians, each figure beside its baseline
# measured in the same run and their ratio. The table also goes to docs/benchmarks.md, with the
# date and the machine. The line format the benchmarks print is described in bench/README.md.
#
#   CORVANE_BENCH_RUNS=N   runs of each benchmark (default 3)
#   CORVANE_BENCH_ONLY=RE  only the benchmarks whose name matches RE (the table is then not written)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${CORVANE_BENCH_RUNS:-3}
only=${CORVANE_BENCH_ONLY:-}
build=build/mingw64

scripts/deps.sh
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64

# shellcheck source=winebed.sh
source scripts/winebed.sh
# A quiet bed of its own: a server left running by an earlier scripts/wine-run.sh goes first.
winebed_env "$(cd "$build" && pwd)"
wineserver -k 2>/dev/null || true
trap 'winebed_down || true' EXIT
WINEBED_OWN_DISPLAY=1 winebed_up "$build"

out=$build/bench
log=$out/bench.log
rows=$out/bench.rows
: >"$log"
: >"$rows"

# The shipped program's size (symbols stripped, as in the release archive) against the minimal
# window program's, both static executables of the same toolchain.
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
stripped_kb() { "$strip" -o "$out/stripped.exe" "$1" && awk -v bytes="$(stat -c %s "$out/stripped.exe")" 'BEGIN { printf "%.1f", bytes / 1024 }'; }
if [[ -z "$only" || "size" =~ $only ]]; then
  echo "BENCH | executable size, stripped | $(stripped_kb "$build/startup/Corvane.exe") KB | minimal window program | $(stripped_kb "$out/startup_minimal.exe") KB" |
    sed 's/^/Corvane.exe | /' >>"$rows"
  rm -f "$out/stripped.exe"
fi

mapfile -t benches < <(find "$out" -name '*_bench.exe' | sort)
for exe in "${benches[@]}"; do
  name=$(basename "$exe" .exe)
  [[ -n "$only" && ! "$name" =~ $only ]] && continue
  for run in $(seq 1 "$runs"); do
    echo "bench: $name, run $run of $runs" >&2
    echo "===== $name, run $run" >>"$log"
    status=0
    timeout 900 wine "$exe" >"$out/run.txt" 2>&1 </dev/null || status=$?
    cat "$out/run.txt" >>"$log"
    ((status == 0)) || echo "bench: $name run $run ended with status $status (see $log)" >&2
    grep -a '^BENCH *|' "$out/run.txt" | sed "s/^/$name | /" >>"$rows" || true
  done
done

# benchmark | BENCH | figure | value unit | baseline | value unit  ->  one row of medians per figure
table=$(awk -F' *[|] *' '
  function median(list,   n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 2; i <= n; i++) { t = a[i] + 0; for (j = i - 1; j >= 1 && a[j] + 0 > t; j--) a[j + 1] = a[j]; a[j + 1] = t }
    return n ? a[int((n + 1) / 2)] : 0
  }
  NF >= 6 {
    split($4, v, " "); split($6, b, " ")
    if (v[1] !~ /^[0-9.eE+-]+$/ || b[1] !~ /^[0-9.eE+-]+$/ || b[1] + 0 == 0) next
    key = $1 SUBSEP $3
    if (!(key in values)) { order[++count] = key; baseline[key] = $5; unit[key] = v[2] }
    values[key] = values[key] " " v[1]; bases[key] = bases[key] " " b[1]; ratios[key] = ratios[key] " " (v[1] / b[1])
    n[key]++
  }
  END {
    print "| benchmark | figure | median | baseline | baseline median | ratio | runs |"
    print "|---|---|---:|---|---:|---:|---:|"
    for (i = 1; i <= count; i++) {
      k = order[i]; split(k, part, SUBSEP)
      printf "| %s | %s | %.4g %s | %s | %.4g %s | %.2f | %d |\n", part[1], part[2], median(values[k]), unit[k],
             baseline[k], median(bases[k]), unit[k], median(ratios[k]), n[k]
    }
  }' "$rows")

echo
echo "$table"

if [[ -z "$only" ]]; then
  cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
  {
    echo "# Benchmarks"
    echo
    echo "Made by \`bash scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'): $(nproc) cores (${cpu:-unknown CPU}),"
    echo "$(wine --version 2>/dev/null || echo 'Wine'), Xvfb. Each figure is the median of $runs runs; its baseline was"
    echo "measured in the same runs, and the ratio is the median of the runs' ratios. How each figure"
    echo "is measured is told at the top of its program under bench/."
    echo
    echo "$table"
  } >docs/benchmarks.md
  echo
  echo "bench: table written to docs/benchmarks.md; every run's output is in $log"
fi
