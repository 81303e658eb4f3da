#!/bin/bash
# Checks the bash completion of qrv470kse-cli: each case sets COMP_WORDS, COMP_CWORD,
# COMP_LINE and COMP_POINT as bash would for a command line typed up to its end, calls the
# completion function and compares what it offers. The cases run in a clean bash
# (--norc, empty environment) with the script alone, and again with bash-completion
# loaded first when it is installed. Stops at the first failure, saying which.
#
# usage: completion_test.sh PATH/TO/packaging/completion/qrv470kse-cli
set -u

bash_completion=/usr/share/bash-completion/bash_completion

# ---- the cases, run inside the clean bash: completion_test.sh --cases MODE SCRIPT ----
if [[ ${1-} == --cases ]]; then
    mode=$2 script=$3
    fail() {
        echo "FAIL ($mode): $*" >&2
        exit 1
    }
    if [[ $mode == bash-completion ]]; then
        # shellcheck source=/dev/null
        source "$bash_completion" || fail "cannot load $bash_completion"
        declare -F _init_completion >/dev/null || fail "bash-completion did not load"
    else
        declare -F _init_completion >/dev/null && fail "bash-completion is loaded"
    fi
    # shellcheck source=/dev/null
    source "$script" || fail "cannot source $script"
    [[ $(complete -p qrv470kse-cli 2>/dev/null) == *"-F _qrv470kse_cli "* ]] ||
        fail "the script does not register _qrv470kse_cli for qrv470kse-cli"

    # Completes LINE, split as bash splits it (at blanks, and at colons, which become words
    # of their own), into the sorted list $got.
    complete_line() {
        local line=$1 token
        COMP_WORDS=()
        for token in $line; do
            while [[ $token =~ ^(:+|[^:]+)(.*)$ ]]; do
                COMP_WORDS+=("${BASH_REMATCH[1]}")
                token=${BASH_REMATCH[2]}
            done
        done
        [[ $line == *' ' ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE=$line COMP_POINT=${#line}
        COMPREPLY=()
        _qrv470kse_cli qrv470kse-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        got=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | LC_ALL=C sort -u | tr '\n' ' ')
        got=${got% }
    }
    # offers LINE WORD...: exactly these words, in any order.
    offers() {
        local line=$1 want
        shift
        want=$(printf '%s\n' "$@" | LC_ALL=C sort -u | tr '\n' ' ')
        want=${want% }
        complete_line "$line"
        [[ $got == "$want" ]] || fail "\"$line\" offers [$got], expected [$want]"
    }
    # lacks LINE WORD...: none of these words.
    lacks() {
        local line=$1 word
        shift
        complete_line "$line"
        for word; do
            [[ " $got " != *" $word "* ]] || fail "\"$line\" offers [$got], with $word"
        done
    }

    folder=$(mktemp -d) || fail "no temporary folder"
    trap 'rm -rf "$folder"' EXIT
    cd "$folder" || fail "cannot enter $folder"
    { touch a.dat b.txt c.png d.csv && mkdir sub; } || fail "cannot fill $folder"

    commands=(send read verify frames check ports preview display page export import)
    p=qrv470kse-cli

    # The command, or --help / --version.
    offers "$p " "${commands[@]}" --help --version
    offers "$p pr" preview
    offers "$p im" import
    offers "$p --help " "${commands[@]}"
    offers "$p --version " # nothing follows --version

    # The options of each command, and only those.
    offers "$p send --pa" --pace --page
    offers "$p send x.dat -" --port --pace --answer-timeout --verify --log --report --page --only --help
    offers "$p read -" --port --pace --answer-timeout --log --report -o --help
    lacks "$p read -" --verify
    lacks "$p verify x.dat -" --verify -o --page
    offers "$p frames x.dat -" --page --only --help
    offers "$p display on -" --port --pace --answer-timeout --log --report --help
    lacks "$p page 3 -" --page --only --verify
    offers "$p check x.dat -" --help
    offers "$p ports -" --help
    offers "$p preview x.dat -" --page --all --scale -o --help
    offers "$p preview x.dat --page 3 -" --page --all --scale -o --help
    offers "$p export a.dat -" -o --help
    offers "$p import d.csv -" --base -o --help
    offers "$p bogus -" # an unknown command takes nothing

    # Option values.
    offers "$p send --pace " fixed answer
    offers "$p read --port /dev/null --pace a" answer
    offers "$p verify x.dat --answer-timeout " 3500
    offers "$p send --answer-timeout 3500 " a.dat sub
    offers "$p preview x.dat --scale " 1 2 3 4 5 6 7 8
    # shellcheck disable=SC2046 # one word a number
    offers "$p preview x.dat --page " $(seq 1 32)
    offers "$p preview x.dat --page 3" 3 30 31 32
    offers "$p send x.dat --only " titles fill level colours blink page time position
    offers "$p send x.dat --only fill,c" fill,colours
    offers "$p frames x.dat --only fill,titles," fill,titles,level fill,titles,colours \
        fill,titles,blink fill,titles,page fill,titles,time fill,titles,position
    offers "$p send x.dat --page 1" 1 10 11 12 13 14 15 16 17 18 19
    offers "$p send x.dat --port tc" tcp://
    # Bash replaces only what follows the last colon of the word.
    offers "$p send x.dat --port tcp:" //
    # The serial devices that are there (no device may be made here), and nothing else.
    devices=()
    for device in /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* /dev/ttyS*; do
        [[ -e $device ]] && devices+=("$device")
    done
    offers "$p send x.dat --port /dev/" "${devices[@]}"
    offers "$p send x.dat --port /nowhere/" # neither a device nor tcp://

    # FILE.dat: .dat files and folders only, and only until it is given.
    offers "$p send " a.dat sub
    offers "$p check a" a.dat
    offers "$p preview " a.dat sub
    offers "$p send --pace answer " a.dat sub
    offers "$p send --port tcp://10.0.0.21:4001 " a.dat sub
    offers "$p send a.dat " --port --pace --answer-timeout --verify --log --report --page --only --help
    offers "$p send - " --port --pace --answer-timeout --verify --log --report --page --only --help
    offers "$p read " --port --pace --answer-timeout --log --report -o --help
    offers "$p ports " --help
    # In place of FILE.dat: on|off, N|auto.
    offers "$p display " on off
    offers "$p display --port /dev/ttyS0 o" on off
    offers "$p display on " --port --pace --answer-timeout --log --report --help
    offers "$p page a" auto
    offers "$p page 3" 3 30 31 32

    # Files of -o and --log.
    offers "$p read --port /dev/ttyS0 -o " a.dat sub
    offers "$p preview a.dat -o " c.png sub
    offers "$p send a.dat --log " a.dat b.txt c.png d.csv sub
    offers "$p page 3 --report " a.dat b.txt c.png d.csv sub
    offers "$p export " a.dat sub
    offers "$p export a.dat -o " d.csv sub
    offers "$p import " d.csv sub
    offers "$p import d.csv --base " a.dat sub
    offers "$p import d.csv -o " a.dat sub

    echo "ok ($mode)"
    exit 0
fi

# ---- the driver ----
script=${1:?usage: completion_test.sh PATH/TO/qrv470kse-cli}
[[ -r $script ]] || {
    echo "FAIL: cannot read $script" >&2
    exit 1
}
script=$(cd "$(dirname "$script")" && pwd)/$(basename "$script")
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")

modes=(plain)
if [[ -r $bash_completion ]]; then
    modes+=(bash-completion)
else
    echo "note: $bash_completion is not installed; only the plain shell is tried"
fi
for mode in "${modes[@]}"; do
    env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="${TMPDIR:-/tmp}" TMPDIR="${TMPDIR:-/tmp}" \
        bash --norc --noprofile "$self" --cases "$mode" "$script" || exit 1
done
