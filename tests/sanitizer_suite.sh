#!/usr/bin/env bash
# Builds the unit and in-process tests once more with AddressSanitizer and
# UndefinedBehaviorSanitizer (LeakSanitizer included) and runs them.
# Usage: sanitizer_suite.sh SOURCE_DIR BUILD_DIR build|run|early
# "build" configures and builds; "run" runs the tests of that build.
# "early", which scripts/test starts beside the ordinary build, builds and
# runs the tests at once and keeps their output and status for "run", the
# CTest test, to report: the suite is the longest work, and starts as soon
# as its own build is done rather than when the other build is.
set -euo pipefail
source_dir=$1 build_dir=$2 step=$3
early_log=$build_dir/early_run.log early_status=$build_dir/early_run.status early_built=$build_dir/early_run.built
if [ "$step" = early ]; then
    mkdir -p "$build_dir"
    rm -f "$early_log" "$early_status" "$early_built"
    # Held from before the build, so that "run" never starts beside it.
    exec 8>"$build_dir/.run_lock"
    flock 8
    status=0
    if "$0" "$source_dir" "$build_dir" build; then
        touch "$early_built"
        "$0" "$source_dir" "$build_dir" run-now >"$early_log" 2>&1 || status=$?
    else
        status=$?
        echo "sanitizer_suite.sh: the sanitizer build failed (sanitizer_build shows why)" >"$early_log"
    fi
    echo "$status" >"$early_status"
    exit 0
fi
if [ "$step" = run ]; then
    exec 8>"$build_dir/.run_lock"
    flock 8
    if [ -f "$early_status" ]; then
        cat "$early_log"
        status=$(cat "$early_status")
        rm -f "$early_log" "$early_status"
        exit "$status"
    fi
    step=run-now
fi
if [ "$step" = build ]; then
    # One build at a time: scripts/test starts this step beside the ordinary
    # build, and the CTest test of the same name then waits here for it and
    # finds nothing left to do (or builds what failed, and shows why).
    mkdir -p "$build_dir"
    exec 9>"$build_dir/.build_lock"
    flock 9
    # Built by the early step, whose tests may be running now: nothing to
    # configure again under them.
    [ ! -f "$early_built" ] || exit 0
    # Line tables only (-g1): enough for the sanitizers' reports to name file
    # and line, at about two thirds of the compile time of full debug
    # information.  The tests and pelorin-cli's rooms of results are
    # compiled without optimisation (see their CMakeLists.txt).  A new build
    # folder gets Ninja, and clang where it is installed: it compiles this
    # tree with the sanitizers in under 60 % of GCC's time, and its warnings
    # join GCC's, which the ordinary build (the one that ships) keeps.
    first=()
    if [ ! -f "$build_dir/CMakeCache.txt" ]; then
        ! command -v ninja >/dev/null || first+=(-G Ninja)
        ! command -v clang++ >/dev/null || first+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    fi
    cmake -S "$source_dir" -B "$build_dir" "${first[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELORIN_SANITIZE=ON \
          -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
          -DPELORIN_BENCH=OFF -DPELORIN_SANITIZER_SUITE=OFF >/dev/null
    exec cmake --build "$build_dir" -j "$(nproc)"
fi
[ "$step" = run-now ] || { echo "sanitizer_suite.sh: unknown step '$step'" >&2; exit 2; }
# Huge pages for the shadow memory too: the program's two 256 MiB work
# buffers have 64 MiB of it, which on small pages costs a run 16,000 page
# faults more and most of these tests' system time.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:allocator_may_return_null=1:no_huge_pages_for_shadow=0
export LSAN_OPTIONS=suppressions=$source_dir/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The soak test's fifty passes would take the better part of an hour here;
# a few passes still show any leak.
export PELORIN_SOAK_PASSES=${PELORIN_SOAK_PASSES:-5}
# Its own temporary folder: the ordinary tests may run at the same time and
# use the same file names.
export TEST_TMPDIR=$build_dir/test_tmp
mkdir -p "$TEST_TMPDIR"
cd "$build_dir"
# Left out: the tests whose checks are about processes, not memory (a child
# killed while it saves never reaches its sanitizers' report; two children
# compared frame for frame take the soak test's paths, which run here), and
# the checks of sources and documents, which run no code of ours.
ctest --output-on-failure -j 2 --timeout 1200 \
    -E '^(StoreKilled\..*|Soak\.TwoFreshProcessesPresentTheSameFrames|cli_include_layers|cli_documents_schema)$'
