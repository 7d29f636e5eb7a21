#!/bin/sh
# Runs Kestrova's benchmarks side by side with their floors and prints one table.
#   bench/run.sh --build-dir DIR [--smoke] [--results FILE]
# DIR is a build with KESTROVA_BENCH=ON (./build.sh bench makes one and runs this). --smoke
# runs everything a few times only; --results writes the table, with the machine, to FILE.
set -eu
cd "$(dirname "$0")/.."
build=
runs=20
min_time=0.2
results=
while [ $# -gt 0 ]; do
    case $1 in
    --build-dir) build=$2; shift ;;
    --smoke) runs=3; min_time=0.01 ;;
    --results) results=$2; shift ;;
    *) echo "usage: $0 --build-dir DIR [--smoke] [--results FILE]" >&2; exit 2 ;;
    esac
    shift
done
[ -n "$build" ] || { echo "usage: $0 --build-dir DIR [--smoke] [--results FILE]" >&2; exit 2; }
build=$(cd "$build" && pwd)
table=$(mktemp)
trap 'rm -f "$table"' EXIT

# Start-up to the first frame needs a real X server: a virtual one of our own.
QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$build/runtime sh tests/with_xvfb.sh \
    "$build/bench/startup_bench" "$runs" "$build/bench/kestrova_first_frame_program" \
    "$build/bench/floor_first_frame_program" >>"$table"

QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$build/runtime \
    "$build/bench/inprocess_bench" "$runs" --benchmark_min_time="$min_time" >>"$table"

# Windows: the build whose code this machine can run under Wine, and the shipped 32-bit files.
if [ -x "$build/windows-x86_64/bench/win32/launch_bench.exe" ]; then
    driven=$build/windows-x86_64 loader=/usr/lib/wine/wine64
else
    driven=$build/windows-i686 loader=/usr/lib/wine/wine
fi
shipped=$build/windows-i686
if [ -f "$driven/bench/win32/launch_bench.exe" ]; then
    winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
    sh tests/window/win32/run_under_wine.sh "$loader" "$build/wineprefix" \
        "$driven/bench/win32/launch_bench.exe" "$runs" \
        "$(winpath "$driven/window/win32/Kestrova.exe")" \
        "$(winpath "$driven/bench/win32/floor_window.exe")" \
        "$(winpath "$shipped/window/win32/Kestrova.exe")" \
        "$(winpath "$shipped/bench/win32/floor_window.exe")" | tr -d '\r' >>"$table"
fi

print_table() {
    echo "| measure | program | runs | min | median | max | ratio (median) | target |"
    echo "| --- | --- | ---: | ---: | ---: | ---: | ---: | --- |"
    cat "$table"
}
print_table
if [ -n "$results" ]; then
    {
        echo "# Benchmark results"
        echo
        echo "Command: \`./build.sh bench\` (runs \`bench/run.sh --build-dir build/bench\`)."
        echo "Run on $(date -u +%Y-%m-%d), $(nproc) cores, $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -n 1),"
        echo "$(free -g | awk '/^Mem/ {print $2}') GiB, $(uname -sr); Windows figures under Wine $("$loader" --version 2>/dev/null) ($(basename "$driven") build)."
        echo
        print_table
    } >"$results"
fi
