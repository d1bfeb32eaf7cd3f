#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmark with each toolchain, runs each build in turn, and
# prints the speed ratios side by side as Markdown tables: g++ and clang++
# (libstdc++, default target), both again for x86-64-v3, and clang++-19
# against libc++ 19's std::complex (no text rows there: see bench.cpp).
# Usage: bench/compare.sh [Google Benchmark options]
# Without options each run is the README's: medians of 10 interleaved
# repetitions. Each build's full report is left in build/<preset>/bench.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

presets=(bench bench-clang bench-gcc-v3 bench-clang-v3 bench-libcxx)
titles=("g++" "clang++" "g++ v3" "clang++ v3" "clang++-19, libc++")
if (($# == 0)); then
    set -- --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true \
        --benchmark_min_time=0.05 --benchmark_report_aggregates_only=true
fi

# Every build first, so that no compiler runs beside a timing.
mkdir -p build
for preset in "${presets[@]}"; do
    echo "building $preset" >&2
    if ! cmake --workflow --preset "$preset" >"build/$preset.log" 2>&1; then
        cat "build/$preset.log" >&2
        exit 1
    fi
done
reports=()
for preset in "${presets[@]}"; do
    echo "running $preset" >&2
    report=build/$preset/bench.txt
    if ! "./build/$preset/cplx-bench" "$@" --benchmark_color=false >"$report" 2>&1; then
        cat "$report" >&2
        exit 1
    fi
    reports+=("$report")
done

awk -v titles="$(IFS='|'; echo "${titles[*]}")" '
    FNR == 1 { run++; on = 0 }
    /^std::complex: / { library[run] = $2 " " $3 }
    /^speed of cplx relative to each baseline/ { on = 1; next }
    on && $1 == "operation" { next }
    on && NF >= 2 {
        if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 }
        vs_std[$1, run] = $2
        if (NF >= 3) { vs_bare[$1, run] = $3; has_bare[$1] = 1 }
    }
    function table(caption, ratios, only_bare,    i, r, line, t, k) {
        k = split(titles, t, "|")
        printf "\n%s\n\n| operation |", caption
        for (r = 1; r <= k; r++) printf " %s |", t[r]
        printf "\n|---|"
        for (r = 1; r <= k; r++) printf "---|"
        printf "\n| std::complex from |"
        for (r = 1; r <= k; r++) printf " %s |", library[r]
        printf "\n"
        for (i = 1; i <= n; i++) {
            if (only_bare && !(order[i] in has_bare)) continue
            line = "| " order[i] " |"
            for (r = 1; r <= k; r++) line = line " " ((order[i], r) in ratios ? ratios[order[i], r] : "–") " |"
            print line
        }
    }
    END {
        table("Speed of cplx relative to std::complex<double> (higher is faster):", vs_std, 0)
        table("Speed of cplx relative to the bare formulas:", vs_bare, 1)
    }
' "${reports[@]}"
