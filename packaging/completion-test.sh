#!/bin/bash
# Drives the bash completion of veltra-cli the way readline does and checks
# what it offers.
#   completion-test.sh COMPLETION-FILE VELTRA-CLI
# VELTRA-CLI is the program the completion asks for options and ports; a
# command line that starts with it is completed.
set -u

completion=$1
program=$2
failures=0

bash -n "$completion" || {
    echo "FAIL: $completion is not valid bash" >&2
    exit 1
}
# shellcheck source=/dev/null
. "$completion"
complete -p veltra-cli >/dev/null || {
    echo "FAIL: $completion registers no completion for veltra-cli" >&2
    exit 1
}

# Splits LINE into COMP_WORDS as readline does (blanks separate words, '='
# and ':' are words of their own), with the cursor at its end, and runs the
# completion; the offers go to stdout, one a line, sorted.
offers()
{
    local line="$program $1" word= c i
    COMP_WORDS=()
    for ((i = 0; i < ${#line}; i++)); do
        c=${line:i:1}
        if [[ $c == [[:space:]] ]]; then
            [[ -n $word ]] && COMP_WORDS+=("$word")
            word=
        elif [[ $c == [=:] ]]; then
            [[ -n $word && $word != [=:]* ]] && { COMP_WORDS+=("$word"); word=; }
            word+=$c
        else
            [[ $word == [=:]* ]] && { COMP_WORDS+=("$word"); word=; }
            word+=$c
        fi
    done
    COMP_WORDS+=("$word")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    _veltra_cli
    ((${#COMPREPLY[@]})) && printf '%s\n' "${COMPREPLY[@]}" | sort
}

# expect LINE WORD...: the offers are exactly these words.
expect()
{
    local line=$1 got want
    shift
    got=$(offers "$line")
    want=$(printf '%s\n' "$@" | sort)
    [[ $# -eq 0 ]] && want=
    if [[ $got != "$want" ]]; then
        echo "FAIL: \"veltra-cli $line\" offers [${got//$'\n'/ }], expected [${want//$'\n'/ }]" >&2
        failures=$((failures + 1))
    fi
}

# includes LINE WORD...: the offers include these words.
includes()
{
    local line=$1 got word
    shift
    got=$'\n'$(offers "$line")$'\n'
    for word in "$@"; do
        if [[ $got != *$'\n'"$word"$'\n'* ]]; then
            echo "FAIL: \"veltra-cli $line\" does not offer $word; offers [${got//$'\n'/ }]" >&2
            failures=$((failures + 1))
        fi
    done
}

expect '' detect read write measure backup restore compare run ports scan report history record certificate
expect 're' read restore report record
expect 'record ' sync init
includes 'history --' --since --until --model --station --verdict --csv --record
expect 's' scan
expect '--' --help --version
includes 'read --' --port --baud --json --help
includes 'write --' --port --baud --set --help
includes 'measure --' --port --baud --json --count --interval
includes 'measure -' -p -b -n -i
includes 'backup -' -o --output --port
expect 'restore --d' --dry-run
includes 'compare --' --port --baud --json
includes 'ports --' --json --count
includes 'scan --' --all-devices --help
expect 'read --baud ' 9600 19200 38400 57600 115200
expect 'read -b 1' 19200 115200
expect 'read --baud=57' 57600
expect 'write --set ' baud= slave= ogr= empty= full= low-do= hi-do= switch= omb= resolution=
expect 'write --set h' hi-do=
expect 'write -s low' low-do=
expect 'write --set baud=' 9600 19200 38400 57600 115200
expect 'write --set ogr=' High Medium Low
expect 'write --set omb=W' Wide Widish
expect 'write --set resolution=' Cm mm
expect 'write --port 1 --set empty=2'
expect 'read --port=/dev/nul' /dev/null
expect 'read --port /dev/nul' /dev/null

# File names for restore's and compare's FILE and for backup -o.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/settings.json" "$scratch/other.txt"
expect "restore --port 1 $scratch/set" "$scratch/settings.json"
expect "compare --port 1 $scratch/o" "$scratch/other.txt"
expect "backup --port 1 -o $scratch/s" "$scratch/settings.json"

# Port numbers come from "veltra-cli ports": a comN link in the ports folder
# is one of them.
mkdir "$scratch/ports"
ln -s /dev/null "$scratch/ports/com7"
export VELTRA_PORTS_DIR=$scratch/ports
includes 'read --port ' 7
includes 'read -p 1,' 1,7
expect 'run --port 7' 7

if ((failures)); then
    echo "$failures completion checks failed" >&2
    exit 1
fi
echo "bash completion of veltra-cli: all checks passed"
