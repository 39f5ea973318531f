#!/usr/bin/env bash
# The SDK as a caller unpacks it: every part in place, the small example
# and the sample host built from the SDK alone, run against its module.
#   sdk_test.sh BUILD VERSION
set -u
build=$(cd "$1" && pwd) version=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
zip=$build/dist/quillet-sdk-$version.zip
work=$build/sdk-test
rm -rf "$work"
mkdir -p "$work"
passed=0 failed=0
check() {
  local what=$1; shift
  if "$@" >"$work/last.log" 2>&1; then passed=$((passed + 1)); echo "ok: $what"
  else failed=$((failed + 1)); echo "FAILED: $what"; sed 's/^/   /' "$work/last.log" | tail -20; fi
}

check "the zip unpacks" unzip -q "$zip" -d "$work"
sdk=$work/quillet-sdk-$version
listing=$(cd "$sdk" && find . -type f | sort)
for f in include/zq/base.h include/zq/list.h include/quillet/clsid.h include/quillet/plugin.h \
         lib/libquillet.dll.a lib/quillet.def bin/quillet.dll bin/quillet.lng bin/quillet-host.exe \
         samples/hello/hello.c samples/quillet-host/main.cpp samples/quillet-host/quillet-host.rc \
         samples/quillet-host/quillet_version.h samples/quillet-host/hostkit/hostkit.h \
         getting-started.html reference/index.html; do
  check "holds $f" grep -qx "./$f" <<< "$listing"
done
check "every public header" diff <(cd "$root/include" && find . -name '*.h' | sort) \
                                 <(cd "$sdk/include" && find . -name '*.h' | sort)
check "the binaries are the built ones" cmp "$sdk/bin/quillet.dll" "$build/bin/quillet.dll"
check "the .def lists the exports" grep -q "ZqList_CreateExZ" "$sdk/lib/quillet.def"
check "the page names the version" grep -q "Quillet SDK $version" "$sdk/getting-started.html"
check "the reference has the list functions" grep -rq "ZqList_CreateExZ" "$sdk/reference"

# The getting-started build lines, run as written.
gcc=i686-w64-mingw32-gcc-posix gxx=i686-w64-mingw32-g++-posix
check "hello builds from the SDK alone" bash -c "cd '$sdk' && $gcc -Wall -I include samples/hello/hello.c lib/libquillet.dll.a -o '$work/hello.exe'"
cp "$sdk/bin/quillet.dll" "$sdk/bin/quillet.lng" "$work/"
hello_output() { "$root/scripts/wine-run" "$work/hello.exe" | tr -d '\r' | grep -Eq '^1.?234.?567 on Windows'; }
check "hello runs against the SDK's module" hello_output
check "the sample host builds from the SDK alone" bash -c "cd '$sdk/samples/quillet-host' &&
  i686-w64-mingw32-windres -I . quillet-host.rc -O coff -o '$work/quillet-host.res' &&
  $gxx -std=gnu++20 -DUNICODE -D_UNICODE -I ../../include -I . -I hostkit *.cpp hostkit/*.cpp \
    '$work/quillet-host.res' -o '$work/quillet-host.exe' -static -lole32 -loleaut32 -luuid -lshell32 -lcomctl32 -lgdi32"
sample_version() { "$root/scripts/wine-run" "$work/quillet-host.exe" --version | grep -qx "quillet-host $version"; }
check "the sample host reports the version" sample_version
sample_list() {
  "$root/scripts/wine-run" "$work/quillet-host.exe" --module "$(winepath -w "$work/quillet.dll" 2>/dev/null)" \
    --list "$(winepath -w "$root/demo/demo-song.mid" 2>/dev/null)" | grep -q "3  track 4, channel 10"
}
check "the sample host plays through the SDK's module" sample_list
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
