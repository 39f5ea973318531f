#!/usr/bin/env bash
# Checks, from the Linux side of Wine's Z: drive, what the files tests
# left: sizes with stat, absences with ls, a write time as Unix seconds,
# and the volume size against df.
#   files_linux_check.sh build-dir
set -eu
manifest=$1/files-check/manifest.txt
[ -f "$manifest" ] || { echo "no manifest: the files tests did not run"; exit 1; }
unix() { printf '%s' "$1" | sed 's|^[Zz]:||; s|\\|/|g'; }
count=0
while read -r kind path rest; do
  rest=${rest%$'\r'}
  p=$(unix "${path%$'\r'}")
  case $kind in
    exists) [ "$(stat -c %s "$p")" = "$rest" ] || { echo "size of $p is not $rest"; exit 1; } ;;
    absent) ! ls -d "$p" >/dev/null 2>&1 || { echo "$p is still there"; exit 1; } ;;
    dir) [ -d "$p" ] || { echo "$p is not a folder"; exit 1; } ;;
    mtime) [ "$(stat -c %Y "$p")" = "$rest" ] || { echo "write time of $p is $(stat -c %Y "$p"), not $rest"; exit 1; } ;;
    space)
      mb=$(( $(df -B1 --output=size "$p" | tail -n 1) / 1048576 ))
      [ "$mb" = "$rest" ] || { echo "volume of $p: df says $mb MB, the module $rest"; exit 1; } ;;
    *) echo "unknown manifest line: $kind"; exit 1 ;;
  esac
  count=$((count + 1))
done <"$manifest"
[ "$count" -ge 8 ] || { echo "only $count manifest lines"; exit 1; }
echo "files_linux_check: $count results confirmed from the Linux side"
