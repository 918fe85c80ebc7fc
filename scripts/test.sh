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
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--suite" ]; then
    # One build's run, in the environment prepared below: --suite DIR [ctest args]
    dir=$2
    shift 2
    . scripts/wine-env.sh "$dir"
    wine_prepare desktop
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
declare -A pids
for arch in $suites; do
    dir=${dirs[$arch]}
    runner=()
    [ "$arch" = i686 ] && runner=(bash scripts/wine32-run.sh)
    start=$(date +%s)
    (
        status=0
        xvfb-run -a -n "${displays[$arch]}" -s "-screen 0 1024x768x24" "${runner[@]}" \
            bash scripts/test.sh --suite "$dir" "$@" >"$dir/test-run.log" 2>&1 || status=$?
        echo "$status $(( $(date +%s) - start ))" >"$dir/test-run.status"
    ) &
    pids[$arch]=$!
done

status=0
summary=()
failures=()
for arch in $suites; do
    dir=${dirs[$arch]}
    wait "${pids[$arch]}" || true
    read -r rc secs <"$dir/test-run.status"
    sed "s/^/[$arch] /" "$dir/test-run.log"
    result=$(grep -E "tests passed|tests failed" "$dir/test-run.log" | tail -n 1 || true)
    if [ "$rc" -eq 0 ]; then word=passed; else word=FAILED; status=1; fi
    summary+=("$arch ($dir): $word in ${secs} s: ${result:-no ctest summary}")
    # A failure's own lines again, where the end of a long log shows them.
    [ "$rc" -eq 0 ] || failures+=("$(grep -E -A6 ': Failure$|: error: ' "$dir/test-run.log" |
        head -n 60 | sed "s/^/[$arch] /" || true)")
done
echo
for f in "${failures[@]}"; do [ -n "$f" ] && printf '%s\n' "$f"; done
printf 'test.sh: %s\n' "${summary[@]}"
exit $status
