#!/usr/bin/env bash
# The installer as a user runs it, in a Wine prefix of its own: a silent
# install of an older build, the user's settings, the upgrade in place, the
# registration, the uninstall entry, a song played through the registered
# module, a registration that fails (rolled back, the upgrade kept), the
# uninstaller (nothing of ours left, the settings kept; removed when asked).
#   installer_test.sh BUILD VERSION
set -u
build=$(cd "$1" && pwd) version=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$build/installer-test
setup=$build/dist/quillet-setup-$version.exe
older=$work/quillet-setup-0.9.0.exe
broken=$work/quillet-setup-broken.exe

# A fresh prefix (set up like the build's own), under one Xvfb of its own
# only if there is no display: nothing here opens a window.
rm -rf "$work/wineprefix"
"$root/scripts/wine-prefix" "$work" || exit 1
export WINEPREFIX=$work/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null' EXIT

# Paths with spaces go to Wine as separate words: the installer reads /D=
# up to the end of its command line, unquoted.
dir='C:\Program Files\Halvane Quillet'
unix=$WINEPREFIX/drive_c/Program\ Files/Halvane\ Quillet
read -r -a dir_words <<< "$dir"
filter_clsid='{6F1C2A43-8E57-4B19-9D3A-5C7E21B40F61}'
page_clsid='{6F1C2A44-8E57-4B19-9D3A-5C7E21B40F61}'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet'
settings_key='HKCU\Software\Halvane\Quillet\1.0\Metrics'
song=$(winepath -w "$root/demo/demo-song.mid" 2>/dev/null)
host=$build/bin/quillet-host.exe

passed=0 failed=0
ok() { passed=$((passed + 1)); echo "ok: $1"; }
bad() { failed=$((failed + 1)); echo "FAILED: $1"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then ok "$what"; else bad "$what"; fi
}
value() {  # value KEY NAME: the data of a registry value, empty if none
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
default_value() {
  wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | awk '$1 == "(Default)" { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
no_key() { ! wine reg query "$1" >/dev/null 2>&1; }
not() { ! "$@"; }
same() { [ "$1" = "$2" ] || { echo "   '$1' != '$2'" >&2; return 1; }; }
installed_as() {  # the installed files are the staged ones of that installer
  cmp -s "$unix/quillet.dll" "$1/quillet.dll" && cmp -s "$unix/quillet.lng" "$1/quillet.lng"
}
registered_here() {
  local clsid
  for clsid in "$filter_clsid" "$page_clsid"; do
    same "$(default_value "HKCR\\CLSID\\$clsid\\InprocServer32")" "$dir\\quillet.dll" || return 1
    same "$(value "HKCR\\CLSID\\$clsid\\InprocServer32" ThreadingModel)" Both || return 1
  done
  same "$(value "HKLM\\Software\\MIDI Plugins\\$filter_clsid" Type)" 0x102
}
plays() {  # quillet-host --list through the registered module (no --module)
  local out
  out=$(wine "$host" --list "$song" 2>&1) || return 1
  grep -q "3  track 4, channel 10" <<< "$out"
}

# ---- an older build, silently, then the user's own settings
wine "$older" /S "/D=${dir_words[@]}"
check "older build installs silently" test $? = 0
check "older build's files in place" installed_as "$work/quillet-setup-0.9.0.stage"
check "uninstall entry names the older version" same "$(value "$uninstall_key" DisplayVersion)" 0.9.0
wine reg add "$settings_key" /v I1 /t REG_DWORD /d 7 /f >/dev/null 2>&1

# ---- the current build over it
wine "$setup" /S '/D=C:\Elsewhere'
check "upgrade installs silently" test $? = 0
check "upgrade stays in the installed folder" test ! -e "$WINEPREFIX/drive_c/Elsewhere"
check "upgrade replaces the files" installed_as "$build/dist/quillet-setup-$version.stage"
check "uninstaller in place" test -f "$unix/uninstall.exe"
check "no other files" same "$(ls "$unix" | tr '\n' ' ')" "quillet.dll quillet.lng uninstall.exe "
check "classes name the installed module, threading model Both" registered_here
check "registration name" same "$(default_value "HKCR\\CLSID\\$filter_clsid")" "Halvane Tarn 5.0 MIDI Quillet"
check "uninstall entry: name" same "$(value "$uninstall_key" DisplayName)" Quillet
check "uninstall entry: version" same "$(value "$uninstall_key" DisplayVersion)" "$version"
check "uninstall entry: folder" same "$(value "$uninstall_key" InstallLocation)" "$dir"
check "uninstall entry: uninstaller" same "$(value "$uninstall_key" UninstallString)" "\"$dir\\uninstall.exe\""
size_kb=$(( $(du -sk --apparent-size "$unix" | cut -f1) ))
estimated=$(( $(value "$uninstall_key" EstimatedSize) ))
check "uninstall entry: size ($estimated KB, files $size_kb KB)" test "$estimated" -ge $((size_kb - 8)) -a "$estimated" -le $((size_kb + 8))
check "one uninstall entry" same "$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null | tr -d '\r' | grep -ci quillet)" 1
check "quillet-host plays a song through the registered module" plays
check "the user's settings survive the upgrade" same "$(value "$settings_key" I1)" 0x7

# ---- an installer whose module cannot register: stopped, rolled back
wine "$broken" /S '/D=C:\Broken'
check "failed registration stops the installer" test $? = 2
check "rollback restores the upgraded files" installed_as "$build/dist/quillet-setup-$version.stage"
check "rollback keeps the registration" registered_here
check "rollback keeps the uninstall entry" same "$(value "$uninstall_key" DisplayVersion)" "$version"
check "quillet-host still plays" plays

# ---- the uninstaller, silently, as the uninstall entry starts it: it
# copies itself to the temporary folder and runs from there, so the wait
# is for every process of the prefix
wine "$unix/uninstall.exe" /S
check "uninstaller starts silently" test $? = 0
wineserver -w
check "no file of ours left (the folder is gone)" test ! -e "$unix"
for key in "HKCR\\CLSID\\$filter_clsid" "HKCR\\CLSID\\$page_clsid" \
           "HKLM\\Software\\MIDI Plugins\\$filter_clsid" "$uninstall_key"; do
  check "no key $key" no_key "$key"
done
check "the user's settings are kept" same "$(value "$settings_key" I1)" 0x7
check "the settings' parent keys are kept" same "$(wine reg query 'HKCU\Software\Halvane' 2>/dev/null | tr -d '\r' | grep -c 'Halvane\\Quillet$')" 1
check "quillet-host no longer finds the plug-in" not plays

# ---- asked to, the uninstaller removes the user's settings too, and
# nothing else under the maker's key
wine "$setup" /S "/D=${dir_words[@]}"
check "reinstalls silently" test $? = 0
wine reg add 'HKCU\Software\Halvane\Shared Information' /v Locale /t REG_DWORD /d 1031 /f >/dev/null 2>&1
wine "$unix/uninstall.exe" /S /REMOVESETTINGS
wineserver -w
check "uninstaller with /REMOVESETTINGS removes the folder" test ! -e "$unix"
check "the user's settings are removed when asked" no_key 'HKCU\Software\Halvane\Quillet'
check "other keys of the maker stay" same "$(value 'HKCU\Software\Halvane\Shared Information' Locale)" 0x407

# ---- a failed registration on a fresh machine leaves nothing
wine "$broken" /S "/D=${dir_words[@]}"
check "failed fresh install exits 2" test $? = 2
check "failed fresh install leaves no folder" test ! -e "$unix"
check "failed fresh install leaves no uninstall entry" no_key "$uninstall_key"
check "failed fresh install leaves no class" no_key "HKCR\\CLSID\\$filter_clsid"

wineserver -w
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
