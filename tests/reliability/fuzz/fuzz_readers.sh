#!/usr/bin/env bash
# Builds the fuzz targets of pelorin-cli's readers with clang's libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, writes their seed
# corpora, and fuzzes one of them for a bounded time:
#   results_file_fuzz   a results file (--compare FILE, import), read and reported
#   results_store_fuzz  a results store's file, opened as history and report open it
# TARGET "build" only builds both.  Any crash, leak, undefined behaviour,
# time-out or escaping fault fails the run and leaves the input that caused
# it in WORK_DIR as TARGET-crash-*, -leak-* or -timeout-*.
# Usage: fuzz_readers.sh SOURCE_DIR WORK_DIR TARGET SECONDS [libFuzzer options...]
set -euo pipefail
source_dir=$(cd "$1" && pwd)
mkdir -p "$2"
work_dir=$(cd "$2" && pwd)
target=$3
seconds=$4
shift 4

CXX=${FUZZ_CXX:-clang++}
flags=(-std=c++20 -O1 -gline-tables-only -Wall -Wextra -Werror -fno-omit-frame-pointer -fno-sanitize-recover=all
       -I"$source_dir" -I"$source_dir/tests" '-DPELORIN_VERSION="fuzz"')
# What the readers are made of: the results and report rooms, the plain
# parts of the run room, stand-ins for the few names of the program they
# never reach, and the checks every fuzz target runs on what it read.  They
# compile as one file: the JSON library's templates are then parsed and
# instantiated once, which costs less in all than several files side by side.
reader_sources() {
    printf '%s\n' "$source_dir"/cli/results/*.cpp "$source_dir"/cli/report/*.cpp \
        "$source_dir"/cli/run/{statistics,figures,thread_figures,settling,rank_test,benchmark_version,system_info}.cpp \
        "$source_dir"/tests/reliability/fuzz/{program_stand_ins,report_checks}.cpp
}
fuzz=$source_dir/tests/reliability/fuzz

build() {
    local stamp=$work_dir/built.stamp
    if [ -f "$stamp" ] && [ -z "$(find "$source_dir/cli" "$source_dir/stages" "$source_dir/kernels" "$fuzz" \
            -newer "$stamp" \( -name '*.cpp' -o -name '*.h' \) -print -quit)" ]; then
        return
    fi
    echo "building the readers' fuzz targets with $CXX in $work_dir"
    rm -rf "$work_dir/obj"
    mkdir -p "$work_dir/obj"
    reader_sources | sed 's/.*/#include "&"/' > "$work_dir/obj/readers.cpp"
    "$CXX" "${flags[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$work_dir/obj/readers.cpp" \
        -o "$work_dir/obj/readers.o"
    local objects=("$work_dir"/obj/*.o)
    for harness in results_file_fuzz results_store_fuzz; do
        "$CXX" "${flags[@]}" -fsanitize=fuzzer,address,undefined "$fuzz/$harness.cpp" "${objects[@]}" -lsqlite3 \
            -o "$work_dir/$harness"
    done
    "$CXX" "${flags[@]}" -fsanitize=fuzzer-no-link,address,undefined "$fuzz/readers_seed_corpus.cpp" \
        "${objects[@]}" -lsqlite3 -o "$work_dir/readers_seed_corpus"
    touch "$stamp"
}

build
[ "$target" = build ] && exit 0
case $target in
    results_file_fuzz) kind=files ;;
    results_store_fuzz) kind=stores ;;
    *) echo "fuzz_readers.sh: unknown target '$target'" >&2; exit 2 ;;
esac

export TMPDIR=$work_dir/$target-tmp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$TMPDIR" "$work_dir/$target-corpus" "$work_dir/$target-seeds"
rm -f "$work_dir/$target-seeds"/*
"$work_dir/readers_seed_corpus" "$kind" "$work_dir/$target-seeds" "$source_dir/tests/cli/fixtures/store_v1.sql"
if [ "$kind" = files ]; then
    cp "$source_dir/tests/cli/fixtures/results_v1.json" "$work_dir/$target-seeds/"
fi
# New findings go to TARGET-corpus/, which later runs start from; the seeds
# are written afresh each time.
"$work_dir/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work_dir/$target-" "$@" "$work_dir/$target-corpus" "$work_dir/$target-seeds"
rm -f "$TMPDIR"/pelorin-fuzz-*
