#!/usr/bin/env bash
# A folder tree with a symbolic link to a folder outside it, made from the
# Linux side (Wine 8 cannot make one itself), for the deletion test:
#   <build>/files-links/tree/sub/file.txt, tree/link -> ../outside,
#   <build>/files-links/outside/keep.txt
set -eu
dir=$1/files-links
rm -rf "$dir"
mkdir -p "$dir/tree/sub" "$dir/outside"
echo data >"$dir/tree/sub/file.txt"
echo keep >"$dir/outside/keep.txt"
ln -s ../outside "$dir/tree/link"
