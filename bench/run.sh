#!/bin/sh
# Measures Kestrova side by side with the least Qt program doing the same kind of work, under a
# virtual X server of its own, and writes the medians to bench/RESULTS.md.
# Usage: bench/run.sh BUILD_DIR [RUNS]        (./build.sh bench builds and runs it)
set -eu
cd "$(dirname "$0")/.."
[ -n "${KESTROVA_BENCH_X:-}" ] || KESTROVA_BENCH_X=1 exec xvfb-run -a sh bench/run.sh "$@"
build=$(cd "$1" && pwd)
runs=${2:-20}
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$build/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

launch() { # PROGRAM: prints "PROGRAM microseconds-to-first-frame peak-KiB"
    start=$(date +%s%N)
    set -- "$1" $("$build/bench/first_frame" "$1")
    echo "$1 $((($2 - start) / 1000)) $3"
}
launch kestrova >/dev/null && launch floor >/dev/null # from here the file cache is warm
samples=$(i=0; while [ $i -lt "$runs" ]; do launch kestrova && launch floor; i=$((i + 1)); done)
keys=$("$build/bench/key_to_frame" $((runs * 10)))
# The same from outside, as the user sees it: the program itself against the floor, to the X
# server's first report that the window was drawn into.
outside=$("$build/bench/x_first_damage" "$runs" "$build/window/qt/kestrova" -- "$build/bench/first_frame" floor)

median() { # PROGRAM COLUMN DIVISOR
    printf '%s\n' "$samples" | awk -v p="$1" -v c="$2" '$1 == p { print $c }' | sort -n |
        awk -v d="$3" '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] / d }'
}
row() { # MEASURE UNIT KESTROVA FLOOR TARGET
    awk -v m="$1" -v u="$2" -v k="$3" -v f="$4" -v t="$5" 'BEGIN { r = k / f;
        printf "| %s | %.1f %s | %.1f %s | %.2f | <= %.2f: %s |\n", m, k, u, f, u, r, t, r <= t ? "met" : "missed" }'
}
{
    echo "# Benchmark results"
    echo
    echo "\`./build.sh bench\`: medians of $runs start-ups and $((runs * 10)) key presses of each program, taking"
    echo "turns, under Xvfb; $(date -u +%Y-%m-%d), $(nproc) cores, $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -n 1), $(uname -sr)."
    echo "Floors: a Qt window of Kestrova's size with one label; for the key, a scroll bar that writes its value into a label."
    echo
    echo "| measure | Kestrova | floor | ratio | target |"
    echo "| --- | ---: | ---: | ---: | --- |"
    row "start-up to first painted frame" ms "$(median kestrova 2 1000)" "$(median floor 2 1000)" 1.10
    row "start-up to the window's first damage (X server)" ms $(echo $outside | awk '{ print $1 / 1000, $2 / 1000 }') 1.15
    row "peak memory (VmHWM)" MiB "$(median kestrova 3 1024)" "$(median floor 3 1024)" 1.10
    row "key press to repainted frame" µs ${keys} 1.25
} | tee bench/RESULTS.md
