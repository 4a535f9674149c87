#!/usr/bin/env bash
# Builds the image decoder with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, writes the seed corpus, and fuzzes for a bounded
# time.  Any crash, leak, undefined behaviour or time-out fails the run and
# leaves the input that caused it in WORK_DIR as crash-*, leak-* or timeout-*.
# Usage: fuzz_png.sh SOURCE_DIR WORK_DIR SEED_GENERATOR SECONDS [libFuzzer options...]
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work_dir=$2
seed_generator=$3
seconds=$4
shift 4

mkdir -p "$work_dir/corpus" "$work_dir/seeds"
work_dir=$(cd "$work_dir" && pwd)
fuzzer=$work_dir/png_decoder_fuzz
sources=("$source_dir/platform/linux/gdiplus.cpp" "$source_dir/render/picture.cpp" "$source_dir/render/frame_buffer.cpp"
         "$source_dir/tests/reliability/fuzz/png_decoder_fuzz.cpp")

CXX=${FUZZ_CXX:-clang++}
stale=0
[ -x "$fuzzer" ] || stale=1
for f in "${sources[@]}" "$source_dir/platform/linux/gdiplus.h" "$source_dir/platform/linux/win32_api.h" "$source_dir/render/picture.h" "$source_dir/platform/win32.h"; do
    [ "$f" -nt "$fuzzer" ] && stale=1
done
if [ "$stale" = 1 ]; then
    echo "building $fuzzer with $CXX"
    # shellcheck disable=SC2046
    "$CXX" -std=c++20 -O1 -gline-tables-only -Wall -Wextra -Werror -fno-omit-frame-pointer \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -I"$source_dir" $(pkg-config --cflags libpng) "${sources[@]}" $(pkg-config --libs libpng) -o "$fuzzer.new"
    mv "$fuzzer.new" "$fuzzer"
fi

rm -f "$work_dir"/seeds/*
"$seed_generator" "$work_dir/seeds"

export TMPDIR=$work_dir
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# New findings go to corpus/, which later runs start from; the seeds are
# written afresh each time.  A declared 16384 x 16384 image is a legal 1 GiB
# allocation, so the memory limit sits above it.
"$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -malloc_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work_dir/" "$@" "$work_dir/corpus" "$work_dir/seeds"
rm -f "$work_dir"/pelorin-fuzz-*.png
