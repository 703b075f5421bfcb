#!/bin/sh
# Fuzzes every reader family in turn and keeps what is new:
#   scripts/fuzz-nightly.sh [MINUTES [FAMILY...]]
#   MINUTES  per target (default 10); 0 only keeps what earlier runs found
#   FAMILY   only these (bitmap, c64, ...); default every fuzz/fuzz_<family>.cpp
# Runs scripts/fuzz.sh for each fuzz/fuzz_<family>.cpp, one after another (low priority, one
# core), then merges the inputs it found (all of them stay in fuzz-build/corpus/<family>/)
# into fuzz/corpus/<family>/: only the ones that reach coverage the seeds and the kept inputs
# do not, of at most QUENDRA_FUZZ_KEEP_BYTES each (default 65536: a whole C64 file of any
# family), the smallest first, per target and night at most QUENDRA_FUZZ_KEEP_COUNT of them
# (default 200) and QUENDRA_FUZZ_KEEP_TOTAL bytes (default 262144). The repository keeps
# them; the replay test runs them. A crash does not stop the night: the next family runs,
# and the script ends with status 1. The summary (executions,
# speed, coverage, new inputs kept, findings, machine load) is printed and written to
# fuzz-build/nightly/summary.txt; each run's log lies beside it. "exec/cpu-s" counts the
# executions per second of processor time the run had, which a busy machine does not change
# as much as the wall-clock "exec/s".
set -u

minutes=${1:-10}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUENDRA_FUZZ_BUILD:-$root/fuzz-build}
if [ $# -eq 0 ]; then
    for source in "$root"/fuzz/fuzz_*.cpp; do
        family=$(basename "$source" .cpp)
        set -- "$@" "${family#fuzz_}"
    done
fi
logs="$build/nightly"
mkdir -p "$logs"
summary="$logs/summary.txt"
keepBytes=${QUENDRA_FUZZ_KEEP_BYTES:-65536}
keepCount=${QUENDRA_FUZZ_KEEP_COUNT:-200}
keepTotal=${QUENDRA_FUZZ_KEEP_TOTAL:-262144}
status=0

# Processor seconds (user and system) of this script's ended children so far. `times` runs
# here, in the script's own shell: in a subshell it would count that subshell's children.
childSeconds() {
    times >"$logs/times"
    seconds=$(awk 'NR == 2 {
        total = 0
        for (i = 1; i <= 2; ++i) { split($i, t, /[ms]/); total += t[1] * 60 + t[2] }
        print total
    }' "$logs/times")
}

printf '%-11s %10s %8s %10s %6s %7s %5s %s\n' target executions exec/s exec/cpu-s cov ft kept \
    findings >"$summary"
# Everything built first, so that a run's processor time is the fuzzing's alone.
if [ "$minutes" -gt 0 ]; then
    "$root/scripts/fuzz.sh" --build-only || exit 1
fi
for family in "$@"; do
    log="$logs/$family.log"
    findingsBefore=$(ls "$build/findings" 2>/dev/null | grep -c "^$family-" || true)
    load=$(cut -d' ' -f1-3 /proc/loadavg)
    childSeconds
    cpuBefore=$seconds
    if [ "$minutes" -gt 0 ]; then
        "$root/scripts/fuzz.sh" "$family" "$minutes" >"$log" 2>&1 || status=1
    fi
    childSeconds
    # Without a run the figures are the earlier run's, and no processor time was taken.
    cpu=$(awk -v a="$cpuBefore" -v b="$seconds" -v m="$minutes" 'BEGIN { print (m > 0 ? b - a : 0) }')
    findings=$(ls "$build/findings" 2>/dev/null | grep -c "^$family-" || true)
    findings=$((findings - findingsBefore))

    # New inputs that add coverage go into the kept corpus, under their content's hash.
    kept=0
    if [ -x "$build/bin/fuzz_$family" ] && [ -d "$build/corpus/$family" ]; then
        merged="$logs/merged-$family"
        small="$logs/small-$family"
        rm -rf "$merged" "$small"
        mkdir -p "$merged" "$small" "$root/fuzz/corpus/$family"
        cp "$build/seeds/$family"/* "$root/fuzz/corpus/$family"/* "$merged/" 2>/dev/null
        find "$build/corpus/$family" -type f -size -$((keepBytes + 1))c -exec cp {} "$small/" \;
        ls "$merged" >"$logs/before-$family"
        nice -n 10 "$build/bin/fuzz_$family" -merge=1 -timeout=10 -rss_limit_mb=2048 \
            "$merged" "$small" >"$logs/merge-$family.log" 2>&1 || status=1
        # The merge named each new input by its content's hash: the smallest of them.
        total=0
        for input in $(cd "$merged" && ls -Sr | grep -vxF -f "$logs/before-$family"); do
            bytes=$(wc -c <"$merged/$input")
            [ "$kept" -lt "$keepCount" ] && [ $((total + bytes)) -le "$keepTotal" ] || break
            cp "$merged/$input" "$root/fuzz/corpus/$family/$input"
            kept=$((kept + 1))
            total=$((total + bytes))
        done
        rm -rf "$merged" "$small" "$logs/before-$family"
    fi

    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    perCpu=$(awk -v n="${executions:-0}" -v s="$cpu" 'BEGIN { if (s > 0) printf "%d", n / s }')
    printf '%-11s %10s %8s %10s %6s %7s %5s %s   (load before: %s)\n' "$family" \
        "${executions:--}" "${speed:--}" "${perCpu:--}" "${cov:--}" "${ft:--}" "$kept" \
        "$findings" "$load" >>"$summary"
done
cat "$summary"
[ "$status" -eq 0 ] || echo "$0: a run failed or found a crash; see $logs and $build/findings" >&2
exit "$status"
