#!/usr/bin/env bash
# Real songs through quillet-host with no options, read back by midicsv:
# every event, every track's end time and the header must come back as
# they were, apart from the controller 7 and 10 events the filter adds at
# tick 0, which must carry each part's own first values (or 100 and 64).
#   song_corpus_test.sh BUILD-DIR
# The songs come from Debian packages (a game soundtrack and an arranger's
# style library), downloaded once into BUILD-DIR/corpus.
set -u
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run="$here/../../scripts/wine-run"
cache=$build/corpus
packages=(openttd-openmsx mma)
export QUILLET_BUILD_DIR=$build

command -v midicsv >/dev/null || { echo "midicsv is missing (scripts/bootstrap installs it)"; exit 1; }
mkdir -p "$cache"
for p in "${packages[@]}"; do
  [ -d "$cache/$p" ] && continue
  rm -rf "$cache/$p.partial" && mkdir -p "$cache/$p.partial"
  (cd "$cache/$p.partial" && apt-get download "$p" >/dev/null 2>&1 && dpkg-deb -x ./*.deb root && rm -f ./*.deb) ||
    { echo "cannot fetch $p"; exit 1; }
  mv "$cache/$p.partial" "$cache/$p"
done
mapfile -t songs < <(find "${packages[@]/#/$cache/}" -iname '*.mid' | sort)
[ ${#songs[@]} -ge 50 ] || { echo "only ${#songs[@]} songs found"; exit 1; }

WINEPREFIX=$build/wineprefix "$run" regsvr32 /s "$build/bin/quillet.dll" || { echo "cannot register the module"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The controller 7 and 10 events the filter starts each part with: per
# track and channel used, the first value of each (100 and 64 where none).
expected_start() {
  awk -F', ' '
    $3 ~ /_c$/ { used[$1 ", " $4] = 1 }
    $3 == "Control_c" && ($5 == 7 || $5 == 10) { k = $1 ", " $4 ", " $5; if (!(k in first)) first[k] = $6 }
    END {
      for (u in used) for (c = 7; c <= 10; c += 3) {
        k = u ", " c; v = (k in first) ? first[k] : (c == 7 ? 100 : 64)
        split(u, p, ", "); print p[1] ", 0, Control_c, " p[2] ", " c ", " v
      }
    }' "$1" | sort
}

passed=0 failed=0 events=0 injected=0
for song in "${songs[@]}"; do
  name=${song#"$cache/"}
  out=$work/out.mid
  rm -f "$out"
  if ! "$run" "$build/bin/quillet-host.exe" "$(winepath -w "$song" 2>/dev/null)" -o "$(winepath -w "$out" 2>/dev/null)" \
      >"$work/stdout" 2>"$work/stderr"; then
    echo "FAIL $name: exit code $?: $(head -c 300 "$work/stderr")"; failed=$((failed + 1)); continue
  fi
  midicsv "$song" >"$work/in-order.csv"
  sort "$work/in-order.csv" >"$work/in.csv"
  midicsv "$out" | sort >"$work/out.csv"
  lost=$(comm -23 "$work/in.csv" "$work/out.csv")
  comm -13 "$work/in.csv" "$work/out.csv" >"$work/added"
  expected_start "$work/in-order.csv" >"$work/start"
  if [ -n "$lost" ]; then
    echo "FAIL $name: lost or changed: $(echo "$lost" | head -3)"; failed=$((failed + 1))
  elif ! cmp -s "$work/added" "$work/start"; then
    echo "FAIL $name: added events differ from the start values:"; diff "$work/start" "$work/added" | head -5
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
    events=$((events + $(wc -l <"$work/in.csv")))
    injected=$((injected + $(wc -l <"$work/added")))
  fi
  [ -s "$work/stderr" ] && echo "note $name: $(head -c 300 "$work/stderr")"
done
echo "songs: ${#songs[@]}, csv records compared: $events, start values added: $injected"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
