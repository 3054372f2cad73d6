#!/usr/bin/env bash
# Builds the benchmarks of the portable core with optimisation (build/bench)
# and runs them: each figure of the product beside the reference algorithm's,
# the ratios, and the performance targets. Extra arguments go to the
# benchmark program (e.g. --benchmark_filter=SteadyTick). The machine's load
# is printed first: the figures are only as quiet as the machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/tools/setup.sh"
. "$root/tools/quiet-step.sh"
quiet_step build/bench/configure.log cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DLOOMKEYS_BENCHMARKS=ON
quiet_step build/bench/build.log cmake --build build/bench -j"$(nproc)" --target loomkeys_benchmarks
uptime
build/bench/bench/loomkeys_benchmarks --benchmark_repetitions=3 --benchmark_report_aggregates_only=true "$@"
