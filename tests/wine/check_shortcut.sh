#!/usr/bin/env bash
# Usage: check_shortcut.sh <link file> <expected>
#
# Reads a shortcut file made under Wine with lnkinfo (liblnk-utils), on the
# Linux side, and checks that it points where it should: <expected> holds
# the target's path on its first line and the description on its second.
set -euo pipefail

link=${1:?usage: check_shortcut.sh <link file> <expected>}
expected=${2:?usage: check_shortcut.sh <link file> <expected>}

if [[ ! -f "$link" || ! -f "$expected" ]]; then
    echo "check_shortcut: no $link or $expected: the Wine test did not make them" >&2
    exit 1
fi
target=$(sed -n 1p "$expected")
description=$(sed -n 2p "$expected")

if ! info=$(lnkinfo "$link" 2>&1); then
    echo "check_shortcut: lnkinfo could not read $link:" >&2
    echo "$info" >&2
    exit 1
fi
echo "$info"

# "<name>   : <value>" lines of lnkinfo, the value as it is.
field() {
    sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" <<<"$info" | head -n 1
}

failed=0
check() {
    local name=$1 actual=$2 wanted=$3
    if [[ "$actual" != "$wanted" ]]; then
        echo "check_shortcut: $name is '$actual', expected '$wanted'" >&2
        failed=1
    fi
}
check "Local path" "$(field 'Local path')" "$target"
check "Description" "$(field 'Description')" "$description"
exit "$failed"
