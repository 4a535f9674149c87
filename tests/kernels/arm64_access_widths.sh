#!/usr/bin/env bash
# On arm64 the memory kernels are the portable loops, and their rows keep
# their names' access widths only if GCC emits them so: the "SSE" bodies must
# load (and copy through) Q registers, 128 bits at a time (ldr/ldur q, or
# ldp/stp q), and the "MMX" bodies must move X registers, 64 bits at a time,
# with no 32-bit or 128-bit data access.  (The only X-register accesses the
# SSE bodies make are their base pointer loads.)
# Usage: arm64_access_widths.sh OBJDUMP KERNELS_LIBRARY
set -uo pipefail
objdump=$1 library=$2
listing=$(mktemp)
trap 'rm -f "$listing"' EXIT
"$objdump" -d --no-show-raw-insn -C "$library" >"$listing" || exit 1
failures=0

body_of() {  # the instructions of the function whose name starts with $1
    awk -v name="<$1(" '/^[0-9a-f]+ </ && index($0, name) {on = 1; next} on && /^$/ {exit} on' "$listing"
}

# check FUNCTION REQUIRED_REGEX FORBIDDEN_REGEX
check() {
    local body
    body=$(body_of "$1")
    if [ -z "$body" ]; then
        echo "FAIL: $1 not found in $library"
        failures=$((failures + 1))
    elif ! grep -Eq "$2" <<<"$body"; then
        echo "FAIL: $1 has no instruction matching '$2':"
        echo "$body"
        failures=$((failures + 1))
    elif grep -Eq "$3" <<<"$body"; then
        echo "FAIL: $1 has an instruction matching '$3':"
        echo "$body"
        failures=$((failures + 1))
    else
        echo "ok: $1: $(grep -Eo "$2" <<<"$body" | sort -u | tr '\n' ' ')"
    fi
}

q_load='(ldu?r|ldp)[[:space:]]+q[0-9]+'
q_store='(stu?r|stp)[[:space:]]+q[0-9]+'
w_access='(ldu?r|stu?r|ldp|stp)[[:space:]]+w[0-9]+'
q_access='(ldu?r|stu?r|ldp|stp)[[:space:]]+q[0-9]+'

check readBodySse "$q_load" "$w_access"
check copyBodySse "$q_load" "$w_access"
check copyBodySse "$q_store" "$w_access"
# An X-register load at an offset or stepping its address (the base pointer
# loads have neither), and an X-register store to a non-stack address.
x_data_load='ldu?r[[:space:]]+x[0-9]+, \[x[0-9]+(, #-?[0-9]+\]|\], #[0-9]+|, x[0-9]+\])'
x_data_store='stu?r[[:space:]]+x[0-9]+, \[x[0-9]+'

check readBodyMmx "$x_data_load" "$w_access|$q_access"
check copyBodyMmx "$x_data_load" "$w_access|$q_access"
check copyBodyMmx "$x_data_store" "$w_access|$q_access"

[ "$failures" -eq 0 ]
