#!/bin/bash
# Crafted inputs named as fonts: a named pipe must not hang the converter or pgfinfo, and a
# 2 GB sparse file is refused unread, under a 512 MB address-space limit, within 20 seconds;
# each refusal is one line naming the file and the limit, and no output file is left.
set -u
ttf2pgf=$1 pgfinfo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
mkfifo pipe.ttf pipe.pgf
truncate -s 2G huge.ttf huge.pgf
# program, arguments, a part of the one-line message
check() {
    local expected=$1
    shift
    timeout 20 prlimit --as=536870912 "$@" >out 2>err
    local code=$?
    if [ $code = 124 ] || [ $code = 0 ] || [ "$(wc -l <err)" != 1 ] || ! grep -q -- "$expected" err; then
        echo "FAIL: $* exited $code with: $(cat err)"
        failures=$((failures + 1))
    fi
}
check "pipe.ttf\" is not an ordinary file" "$ttf2pgf" pipe.ttf ltn0.pgf 18h1.0 b2.5i1.2
check "more than the 268435456 bytes" "$ttf2pgf" huge.ttf ltn0.pgf 18h1.0 b2.5i1.2
check "pipe.pgf is not an ordinary file" "$pgfinfo" pipe.pgf
check "more than the 16777216 bytes" "$pgfinfo" huge.pgf
[ ! -e ltn0.pgf ] || { echo "FAIL: an output was left"; failures=$((failures + 1)); }
[ $failures = 0 ]
