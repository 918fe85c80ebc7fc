#!/usr/bin/env bash
# Usage: install_test.sh SETUP_EXE ZIP
# Checks the release package as a user meets it, under 32-bit Wine in a fresh
# prefix: the zip's contents; a silent install into a chosen folder, its
# files and shortcuts; the installed bar; an update over the running bar; a
# silent uninstall with the bar running. Run it where 32-bit Wine works (under scripts/wine32-run.sh,
# as run_install_test.sh does), with DISPLAY set. It works in
# PAIRMATE_INSTALL_TEST_DIR (default build-win32/install-test), ends its own
# wineserver, prints every check, and exits non-zero when a check failed or
# the run stopped early.
set -uo pipefail

setup_exe="$(realpath "$1")"
zip_file="$(realpath "$2")"
cd "$(dirname "$0")/../.."
read -r version < VERSION

work="$(realpath -m "${PAIRMATE_INSTALL_TEST_DIR:-build-win32/install-test}")"
export WINE="${WINE:-/usr/lib/wine/wine}" WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all
export WINELOADER="$WINE" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# No Mono/Gecko prompts; no menu entries written into the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"

passed=0 failed=0
check() { # check DESCRIPTION COMMAND...
    local what="$1"; shift
    if "$@"; then echo "ok      $what"; passed=$((passed + 1))
    else echo "FAILED  $what"; failed=$((failed + 1)); fi
}
finish() {
    wineserver -k >/dev/null 2>&1
    if [ -z "${reached_end:-}" ]; then echo "FAILED  the run stopped early"; failed=$((failed + 1)); fi
    echo "$passed passed, $failed failed"
    exit $((failed > 0))
}
trap finish EXIT

w() { timeout 300 "$WINE" "$@" </dev/null; }
# The values of one registry key as "name<TAB>data" lines (no such key: none);
# reg writes in the console code page, 932.
reg_values() {
    w reg query "$1" 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r' |
        sed -n 's/^    \([^ ].*\)    REG_[A-Z_]*    \(.*\)$/\1\t\2/p; s/^    \([^ ].*\)    REG_[A-Z_]*$/\1\t/p'
}
value_of() { grep -P "^\Q$1\E\t" | head -1 | cut -f2-; } # stdin: reg_values
# The process that shows the bar (X reuses the window ids of a client that
# has gone, process ids differ).
bar_pid() { xdotool search --onlyvisible --name '^Pairmate$' getwindowpid 2>/dev/null | head -1; }
bar_shown() { [ -n "$(bar_pid)" ]; }
wait_for() { # wait_for SECONDS COMMAND...: polls until COMMAND succeeds
    local end=$((SECONDS + $1)); shift
    until "$@"; do [ "$SECONDS" -ge "$end" ] && return 1; sleep 0.5; done
}
is() { [ "$1" = "$2" ] || { echo "        got '$1', expected '$2'"; return 1; }; }
# A shortcut's target and arguments as "target|arguments" (no such file:
# nothing): the local path in its LinkInfo and the arguments among its
# StringData (Wine counts a string's closing NUL, Windows does not).
lnk() {
    python3 - "$1" 2>/dev/null <<'EOF'
import struct, sys
d = open(sys.argv[1], 'rb').read()
flags, = struct.unpack_from('<I', d, 20)
pos = 76 + (2 + struct.unpack_from('<H', d, 76)[0] if flags & 1 else 0)
size, _, _, _, base = struct.unpack_from('<5I', d, pos)
target, pos, wide, strings = d[pos + base:].split(b'\0')[0].decode('cp932'), pos + size, flags & 0x80, {}
for bit in (4, 8, 16, 32):  # description, relative path, working folder, arguments
    if flags & bit:
        n = struct.unpack_from('<H', d, pos)[0] * (2 if wide else 1)
        strings[bit] = d[pos + 2:pos + 2 + n].decode('utf-16-le' if wide else 'cp932').rstrip('\0')
        pos += 2 + n
print(target + '|' + strings.get(32, ''))
EOF
}

rm -rf "$WINEPREFIX" "$work/zip"
mkdir -p "$work"
echo "wine: creating a 32-bit prefix in $WINEPREFIX"
w wineboot.exe --init >/dev/null 2>&1
wineserver -w
w reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

# 1. The zip.
unzip -q -d "$work/zip" "$zip_file"
check "zip holds pairmate.exe and readme.txt" \
    is "$(cd "$work/zip" && ls | tr '\n' ' ')" "pairmate.exe readme.txt "
# Notepad on any Windows reads UTF-8 by its byte-order mark.
check "readme.txt starts with the UTF-8 byte-order mark" \
    is "$(head -c3 "$work/zip/readme.txt" | od -An -tx1 | tr -d ' ')" efbbbf
readme="$(python3 -c 'import sys; print(open(sys.argv[1], encoding="utf-8", newline="").read())' "$work/zip/readme.txt")"
check "readme.txt decodes as UTF-8, has CR LF, names other comparison programs, shell:sendto and the settings" \
    bash -c '[[ "$1" == *設定の保存場所*HKEY_CURRENT_USER\\Software\\Velmora\\Pairmate* &&
               "$1" == *WinMergeU.exe* && "$1" == *shell:sendto* ]] &&
             ! grep -qv $'"'"'\r$'"'"' <<< "$1"' _ "$readme"

# 2. Silent install into a folder of our choice (with a space in its name).
dir_w='C:\Tools\Pair mate'
dir="$WINEPREFIX/drive_c/Tools/Pair mate"
exe_w="$dir_w\\pairmate.exe"
uninst_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pairmate'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Velmora\Pairmate'
start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
# The current user's Send To folder (the prefix has one user).
sendto="$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/SendTo)/Pairmate.lnk"
# The installer's shortcuts: "file|target|arguments".
shortcuts=("$start_menu/Pairmate.lnk|$exe_w|" "$start_menu/Pairmate Readme.lnk|$dir_w\\readme.txt|"
           "$sendto|$exe_w|")

# NSIS takes /D= unquoted and last on its command line: cmd passes it so.
w cmd /c "Z:${setup_exe//\//\\} /S /D=$dir_w"
check "silent install ends with exit code 0" is "$?" 0
check "the installed pairmate.exe is the one in the zip" cmp -s "$dir/pairmate.exe" "$work/zip/pairmate.exe"
check "the installed readme.txt is the one in the zip" cmp -s "$dir/readme.txt" "$work/zip/readme.txt"
for s in "${shortcuts[@]}"; do
    f="${s%%|*}"; check "shortcut ${f#"${f%/*/*}/"}: target and arguments" is "$(lnk "$f")" "${s#*|}"
done
check "the Run value starts the installed program (on by default, as Send To)" \
    is "$(reg_values "$run_key" | value_of Pairmate)" "\"$exe_w\""
reg_values "$uninst_key" > "$work/uninst.txt"
for pair in "DisplayName=Pairmate" "DisplayVersion=$version" "Publisher=Velmora" \
            "DisplayIcon=$exe_w,0" "InstallLocation=$dir_w" \
            "UninstallString=\"$dir_w\\uninstall.exe\"" \
            "QuietUninstallString=\"$dir_w\\uninstall.exe\" /S" "NoModify=0x1" "NoRepair=0x1" "SendTo=0x1"; do
    check "Add/Remove Programs: ${pair%%=*}" is "$(value_of "${pair%%=*}" < "$work/uninst.txt")" "${pair#*=}"
done
kb=$(( $(value_of EstimatedSize < "$work/uninst.txt") )) bytes=$(cat "$dir"/* | wc -c)
check "Add/Remove Programs: EstimatedSize is the installed files' size in KB" \
    test $(( bytes / 1024 )) -le "$kb" -a "$kb" -le $(( (bytes + 1023) / 1024 ))

# 3. The installed program starts and shows its bar. A WinDiff file name and
# a history stored beforehand must survive the update and the uninstall.
w reg add "$settings_key" /v FileName /t REG_SZ /d 'C:\windows\notepad.exe' /f >/dev/null
w reg add "$settings_key\\File1" /v Size /t REG_DWORD /d 1 /f >/dev/null
w reg add "$settings_key\\File1" /v Data00000001 /t REG_SZ /d 'C:\比較\一' /f >/dev/null
# Mark the installed file (an overlay byte does not change how it runs), so
# that the update below shows whether it really replaced it.
printf 'x' >> "$dir/pairmate.exe"
timeout 300 "$WINE" "$exe_w" </dev/null >/dev/null 2>&1 &
check "the installed program shows its bar" wait_for 300 bar_shown
first_pid="$(bar_pid)"
settings() { echo "$(reg_values "$settings_key" | value_of FileName) $(reg_values "$settings_key\\File1" | value_of Data00000001)"; }
kept='C:\windows\notepad.exe C:\比較\一'

# 4. Install again over the running program, without Send To.
w cmd /c "Z:${setup_exe//\//\\} /S /SENDTO=0"
check "second silent install ends with exit code 0" is "$?" 0
check "/SENDTO=0 removed the Send To shortcut" test ! -e "$sendto"
check "it replaced the running program's file" cmp -s "$dir/pairmate.exe" "$work/zip/pairmate.exe"
restarted() { local pid; pid="$(bar_pid)" && [ -n "$pid" ] && [ "$pid" != "$first_pid" ]; }
check "it started Pairmate again (another process shows the bar)" wait_for 300 restarted
check "the Run value is still there (the earlier choice is kept)" \
    is "$(reg_values "$run_key" | value_of Pairmate)" "\"$exe_w\""
check "the WinDiff file name and the history are kept" is "$(settings)" "$kept"
w cmd /c "Z:${setup_exe//\//\\} /S /SENDTO=1"
check "/SENDTO=1 in a third silent install adds it again" is "$(lnk "$sendto")" "$exe_w|"

# 5. Silent uninstall with the bar running. The uninstaller hands over to a
# copy of itself and returns at once; the wineserver ends once every program
# of the prefix has ended, the uninstaller's copy and Pairmate included.
w "$dir_w\\uninstall.exe" /S
check "silent uninstall ends (within 5 minutes, for a loaded machine), Pairmate included" timeout 300 wineserver -w
check "the program folder is gone" test ! -e "$dir"
for s in "${shortcuts[@]}"; do f="${s%%|*}"; check "shortcut ${f#"${f%/*/*}/"} is gone" test ! -e "$f"; done
check "the Run value is gone" is "$(reg_values "$run_key" | value_of Pairmate)" ""
check "the Add/Remove Programs entry is gone" is "$(reg_values "$uninst_key")" ""
check "the WinDiff file name and the history are kept" is "$(settings)" "$kept"
reached_end=1
