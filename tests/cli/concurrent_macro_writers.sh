#!/usr/bin/env bash
# Several zentrikctl processes write macros into different slots of one simulated mouse at the
# same time, for several rounds. After each round the ranges never overlap and every slot holds
# exactly its file's code, unless its writer failed with a message (and then the others are
# still intact). Then: a command that finds the mouse locked by another program for longer than
# its wait gives up with status 7, says why, and changes nothing.
# Usage: concurrent_macro_writers.sh ZENTRIKCTL [WRITERS] [ROUNDS]
set -u
ctl=$1
writers=${2:-4}
rounds=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export ZENTRIK_MOUSE_WAIT_MS=300000
sim="--simulate=state=$work/sim"
fail() { echo "FAIL: $*"; exit 1; }

# The code of writer i in round r: its run mode, then a key press and release repeated so the
# sizes differ from writer to writer and round to round.
make_file() {
    local i=$1 r=$2 bytes=(04) n
    for ((n = 0; n < (i + r) % 5 + 1 + i; n++)); do
        bytes+=(83 $(printf '%02x' $((4 + i))) 84 $(printf '%02x' $((4 + r))))
    done
    "$ctl" macro build "$work/w$i.mf" "${bytes[@]}" >/dev/null || fail "macro build"
    echo "${bytes[*]}"
}

declare -A expected
failed_writers=0
for ((r = 1; r <= rounds; r++)); do
    pids=()
    for ((i = 0; i < writers; i++)); do
        expected[$i]=$(make_file "$i" "$r")
    done
    for ((i = 0; i < writers; i++)); do
        "$ctl" "$sim" macros write $((10 * i + 3)) "$work/w$i.mf" --yes \
            >"$work/out$i" 2>"$work/err$i" &
        pids+=($!)
    done
    ok=()
    for ((i = 0; i < writers; i++)); do
        if wait "${pids[$i]}"; then
            ok[$i]=1
        else
            ok[$i]=0
            failed_writers=$((failed_writers + 1))
            [[ -s $work/err$i ]] || fail "round $r: writer $i failed without a message"
            echo "round $r: writer $i failed: $(tail -n1 "$work/err$i")"
        fi
    done
    "$ctl" "$sim" macros --json >"$work/list.json" || fail "round $r: listing failed"
    for ((i = 0; i < writers; i++)); do
        echo "${ok[$i]} $((10 * i + 3)) ${expected[$i]}"
    done >"$work/expected"
    python3 - "$work/list.json" "$work/expected" "$r" <<'PY' || exit 1
import json, sys
doc = json.load(open(sys.argv[1]))
rnd = sys.argv[3]
slots = {m["slot"]: m for m in doc["macros"]}
ranges = sorted((m["start"], m["end"], m["slot"]) for m in doc["macros"])
for (s1, e1, a), (s2, e2, b) in zip(ranges, ranges[1:]):
    if s2 <= e1:
        sys.exit(f"FAIL: round {rnd}: slots {a} and {b} overlap ({s1:x}-{e1:x}, {s2:x}-{e2:x})")
for line in open(sys.argv[2]):
    ok, slot, *code = line.split()
    m = slots.get(int(slot))
    if ok == "1" and (m is None or m["code"] != " ".join(code)):
        sys.exit(f"FAIL: round {rnd}: slot {slot} holds {m and m['code']}, not {' '.join(code)}")
print(f"round {rnd}: {len(slots)} macros, disjoint, every written slot holds its file's code")
PY
done

# Another program holds the mouse: the command waits, says so, gives up with 7, changes nothing.
"$ctl" "$sim" macros --json >"$work/before.json" || fail "listing before the busy write"
lock=$(ls "$XDG_RUNTIME_DIR"/zentrik/mouse-*.lock 2>/dev/null)
[[ $(echo "$lock" | wc -w) -eq 1 ]] || fail "expected one lock file, found: $lock"
exec 9>>"$lock"
flock -n 9 || fail "cannot take the lock file"
ZENTRIK_MOUSE_WAIT_MS=500 "$ctl" "$sim" macros write 60 "$work/w0.mf" --yes 2>"$work/busy.err"
status=$?
[[ $status -eq 7 ]] || fail "a write to a busy mouse ended with status $status, not 7"
grep -q "another program is using this mouse" "$work/busy.err" || fail "no waiting note"
grep -q "nothing was changed" "$work/busy.err" || fail "no message on giving up"
exec 9>&-
"$ctl" "$sim" macros --json >"$work/after.json" || fail "listing after the busy write"
cmp -s "$work/before.json" "$work/after.json" || fail "the busy write changed the mouse"
echo "PASS: $rounds rounds of $writers writers, $failed_writers failed writers; busy mouse: status 7"
