#!/usr/bin/env bash
# Runs every test: the layout check, the native unit tests (plain, then
# under the sanitizers), the concurrency test under ThreadSanitizer, the
# fuzzers for a bounded time, and the Windows test programs under Wine
# against the real Loomkeys.dll. Every build treats warnings as errors and
# prints its output only when something is wrong (tools/quiet-step.sh).
# Installs what it needs first (tools/setup.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

"$root/tools/setup.sh"
. "$root/tools/quiet-step.sh"

echo "== layout: clang-format-14 over the tracked C and C++ files"
git ls-files -z -- '*.c' '*.cpp' '*.h' | xargs -0 -r clang-format-14 --dry-run --Werror

echo "== client kit: loomkeys.def, loomkeys.h, the VBA module and the .NET binding agree"
python3 "$root/tools/check-client-kit.py"
python3 "$root/tools/check_client_kit_test.py"

echo "== native unit tests (the benchmarks are built too, not run)"
quiet_step build/native/configure.log cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DLOOMKEYS_BENCHMARKS=ON
quiet_step build/native/build.log cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== concurrency stress test under ThreadSanitizer (clang-14)"
quiet_step build/tsan/configure.log cmake -S . -B build/tsan -DLOOMKEYS_THREAD_SANITIZER=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
quiet_step build/tsan/build.log cmake --build build/tsan -j"$jobs" --target loomkeys_concurrency_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build/tsan/tests/native/loomkeys_concurrency_tests --gtest_brief=1

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzzers (clang-14)"
# One build serves both: the fuzzers are built with the same sanitizers.
quiet_step build/sanitize/configure.log cmake -S . -B build/sanitize -DLOOMKEYS_FUZZERS=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
quiet_step build/sanitize/build.log cmake --build build/sanitize -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
build/sanitize/tests/native/loomkeys_unit_tests --gtest_brief=1
build/sanitize/tests/native/stubwright_unit_tests --gtest_brief=1
"$root/tools/run-fuzzers.sh" build/sanitize "${LOOMKEYS_FUZZ_SECONDS:-90}"

echo "== Windows builds"
"$root/tools/build-windows.sh"

echo "== Windows test programs under Wine"
. "$root/tools/wine-env.sh"
trap wine_down EXIT
wine_up
ctest --test-dir build/win64 --output-on-failure

echo "== release package: built, then used from the outside as an add-in author would"
"$root/tools/package.sh"
"$root/tools/check-package.sh"
echo "== Windows test programs again, with the packaged DLL instead of the test build's"
# All but the latency probe (a measurement) and the launcher's test (no DLL).
"$root/tools/wine-tests-packaged-dll.sh" -E '^(wine_keypress_latency_probe|wine_stubwright_test|header_compile_test)$'
echo "== release package: two builds of the commit in two folders give the same bytes"
"$root/tools/check-reproducible.sh"
