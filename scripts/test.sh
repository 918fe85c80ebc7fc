#!/usr/bin/env bash
# The whole test suite, on both builds of the same sources:
#   x86-64  build/        under 64-bit Wine (wine64), prefix build/wineprefix
#   i686    build-win32/  the shipped 32-bit program, under 32-bit Wine
#                         (through user-mode QEMU where the kernel cannot run
#                         32-bit programs), prefix build-win32/wineprefix
# Installs what is missing, builds both, then runs every test program of each
# build with ctest under its own Xvfb screen and Wine (code page 932), inside
# Wine's virtual desktop (see scripts/wine-env.sh). The two runs go side by
# side; each one's output is printed when it ends, every line marked with its
# build, then one summary line per build. Fails when either fails. The 32-bit
# run also installs, starts, updates and removes the release package, which
# scripts/package.sh makes first.
#
# Arguments go to both ctest runs (for example -R e2e). PAIRMATE_SUITES
# chooses the builds (default: "x86-64 i686").
#
# Repeat run, to show that no test fails by chance (not part of CI):
#   PAIRMATE_REPEAT=10 bash scripts/test.sh
# runs the suites 10 times in a row, each round in Wine prefixes created
# anew, as a fresh clone has them, and ends with how often each test failed
# (per build and ctest entry; a test program that failed without a failed
# test case, a time-out for example, is listed by its ctest entry). With
# PAIRMATE_BUSY=2 two more processes keep both cores busy meanwhile, as on
# a loaded machine.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--suite" ]; then
    # One build's run, in the environment prepared below: --suite DIR [ctest args]
    dir=$2
    shift 2
    . scripts/wine-env.sh "$dir"
    . scripts/slow-share.sh
    wine_prepare desktop
    slow_share_mount "$dir"
    trap slow_share_unmount EXIT
    status=0
    ctest --test-dir "$dir" --output-on-failure "$@" || status=$?
    wineserver -k >/dev/null 2>&1 || true
    exit $status
fi

bash scripts/setup.sh
bash scripts/build.sh
suites=${PAIRMATE_SUITES:-"x86-64 i686"}
# The 32-bit run installs the release package too: make it from that build.
case " $suites " in *" i686 "*) bash scripts/package.sh ;; esac

declare -A dirs=([x86-64]="${PAIRMATE_BUILD_DIR:-build}" [i686]=build-win32)
# Each run looks for a free X display from its own number up: two searches
# from the same number at the same moment could both take the same one.
declare -A displays=([x86-64]=20 [i686]=40)
rounds=${PAIRMATE_REPEAT:-1}

busy=()
stop_busy() { [ "${#busy[@]}" -eq 0 ] || kill "${busy[@]}" 2>/dev/null || true; }
trap stop_busy EXIT
for _ in $(seq 1 "${PAIRMATE_BUSY:-0}"); do
    sh -c 'while :; do :; done' &
    busy+=($!)
done

# The failures of one build's log, a line each: "BUILD CTEST-ENTRY CASE",
# CASE being a test case or, for an entry that failed without one, its
# ctest verdict in brackets.
failures_of() { # failures_of ARCH LOG
    awk -v arch="$1" '
        /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / {
            entry = $4; cases = 0
            if ($0 ~ /\*\*\*|Failed|Timeout|Exception/ && $0 !~ /Passed/) {
                verdict = $0; sub(/.*\*\*\*/, "", verdict); sub(/ +[0-9.]+ sec$/, "", verdict)
                failed[entry] = verdict
            }
            next
        }
        /^ *Start +[0-9]+: / { entry = $3; next }
        /^\[  FAILED  \] [^ ]+ \([0-9]+ ms\)$/ { print arch, entry, $4; seen[entry] = 1 }
        END { for (e in failed) if (!seen[e]) print arch, e, "[" failed[e] "]" }
    ' "$2"
}

status=0
all_failures=()
for round in $(seq 1 "$rounds"); do
    [ "$rounds" -gt 1 ] && echo "test.sh: round $round of $rounds"
    declare -A pids=()
    for arch in $suites; do
        dir=${dirs[$arch]}
        # A repeat round starts from prefixes made anew, as a fresh clone's.
        [ "$rounds" -gt 1 ] && rm -rf "$dir/wineprefix"
        runner=()
        [ "$arch" = i686 ] && runner=(bash scripts/wine32-run.sh)
        start=$(date +%s)
        (
            rc=0
            xvfb-run -a -n "${displays[$arch]}" -s "-screen 0 1024x768x24" "${runner[@]}" \
                bash scripts/test.sh --suite "$dir" "$@" >"$dir/test-run.log" 2>&1 || rc=$?
            echo "$rc $(( $(date +%s) - start ))" >"$dir/test-run.status"
        ) &
        pids[$arch]=$!
    done

    summary=()
    failures=()
    for arch in $suites; do
        dir=${dirs[$arch]}
        wait "${pids[$arch]}" || true
        read -r rc secs <"$dir/test-run.status"
        [ "$rounds" -gt 1 ] && cp "$dir/test-run.log" "$dir/test-run.round$round.log"
        sed "s/^/[$arch] /" "$dir/test-run.log"
        result=$(grep -E "tests passed|tests failed" "$dir/test-run.log" | tail -n 1 || true)
        if [ "$rc" -eq 0 ]; then word=passed; else word=FAILED; status=1; fi
        summary+=("$arch ($dir): $word in ${secs} s: ${result:-no ctest summary}")
        # A failure's own lines again, where the end of a long log shows them.
        if [ "$rc" -ne 0 ]; then
            failures+=("$(grep -E -A6 ': Failure$|: error: ' "$dir/test-run.log" |
                head -n 60 | sed "s/^/[$arch] /" || true)")
            mapfile -t found < <(failures_of "$arch" "$dir/test-run.log")
            [ "${#found[@]}" -gt 0 ] || found=("$arch (the run) [exit $rc]")
            all_failures+=("${found[@]}")
        fi
    done
    echo
    for f in "${failures[@]}"; do [ -n "$f" ] && printf '%s\n' "$f"; done
    printf 'test.sh: %s\n' "${summary[@]}"
done

if [ "$rounds" -gt 1 ]; then
    echo
    echo "test.sh: $rounds rounds of $suites (busy processes: ${PAIRMATE_BUSY:-0})"
    if [ "${#all_failures[@]}" -eq 0 ]; then
        echo "test.sh: no test failed in any round"
    else
        echo "test.sh: failures per test (rounds out of $rounds):"
        printf '%s\n' "${all_failures[@]}" | sort | uniq -c | sort -rn | sed 's/^/  /'
    fi
fi
exit $status
