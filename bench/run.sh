#!/bin/sh
# Kestrova beside the least Qt program doing the same kind of work, under an X server of its
# own; writes the medians to bench/RESULTS.md. Usage: bench/run.sh BUILD_DIR [RUNS]
set -eu
cd "$(dirname "$0")/.."
[ -n "${KESTROVA_BENCH_X:-}" ] || KESTROVA_BENCH_X=1 exec xvfb-run -a sh bench/run.sh "$@"
build=$(cd "$1" && pwd)
runs=${2:-20}
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$build/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

# From outside, as the user sees it: start-up to the X server's first report that the window
# was drawn into, and the peak memory by then ("µs KiB" for Kestrova, then for the floor).
set -- $("$build/bench/x_first_damage" "$runs" "$build/window/qt/kestrova" "$build/bench/key_to_frame") \
    $("$build/bench/key_to_frame" $((runs * 10)))
row() { # MEASURE UNIT KESTROVA FLOOR DIVISOR TARGET
    awk -v m="$1" -v u="$2" -v k="$3" -v f="$4" -v d="$5" -v t="$6" 'BEGIN { r = k / f;
        printf "| %s | %.1f %s | %.1f %s | %.2f | <= %.2f: %s |\n", m, k / d, u, f / d, u, r, t, r <= t ? "met" : "missed" }'
}
{
    echo "# Benchmark results"
    echo
    echo "\`./build.sh bench\`: medians of $runs start-ups and $((runs * 10)) key presses of each program, taking"
    echo "turns, under Xvfb; $(date -u +%Y-%m-%d), $(nproc) cores, $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -n 1), $(uname -sr);"
    echo "the floor: a Qt window of Kestrova's size with a scroll bar that writes its value into a label."
    echo
    echo "| measure | Kestrova | floor | ratio | target |"
    echo "| --- | ---: | ---: | ---: | --- |"
    row "start-up to the window's first damage (X server)" ms "$1" "$3" 1000 1.15
    row "peak memory by then (maxrss)" MiB "$2" "$4" 1024 1.10
    row "key press to repainted frame" µs "$5" "$6" 1 1.25
} | tee bench/RESULTS.md
