#!/usr/bin/env bash
# Installs the build into a fresh prefix, plays the first level headless from there with no
# data option, and checks the desktop entries, the AppStream metainfo, the icons and the
# manual pages the way a desktop and a packager read them.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"
source="$(cd "$2" && pwd)"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
faults=0
fault() {
  echo "install: $*" >&2
  faults=$((faults + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

for program in zandrel zandrel-editor zandrel-level zandrel-data; do
  [ -x "$prefix/bin/$program" ] || fault "bin/$program is missing"
done
[ -f "$prefix/share/zandrel/Standard.bnk" ] || fault "share/zandrel holds no data tree"

# The installed game finds its tree beside its bin/ folder: no --data, no ZANDREL_DATA, run
# from a folder that holds no data.
play() {
  (cd "$prefix" && env -u ZANDREL_DATA "$prefix/bin/zandrel" --headless --level-index 0 --frames 1500 \
    --input "$source/content/levels/01-first-steps.solution" --json "$prefix/run.json" 2>"$prefix/run.err")
}
if play; then
  grep -q '"type":"exit_reached"' "$prefix/run.json" ||
    fault "the first level's solution did not reach its exit when installed: $(cat "$prefix/run.json")"
else
  fault "the installed game's headless run failed: $(cat "$prefix/run.err")"
fi
# Without the installed tree the same run has no data: it was the tree it played from.
mv "$prefix/share/zandrel" "$prefix/share/zandrel.away"
if play; then fault "the installed game found a data tree other than its own"; fi
mv "$prefix/share/zandrel.away" "$prefix/share/zandrel"

for entry in "$prefix"/share/applications/*.desktop; do
  desktop-file-validate "$entry" || fault "desktop-file-validate refuses $(basename "$entry")"
  program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
  [ -x "$prefix/bin/$program" ] || fault "$(basename "$entry") starts $program, which is not installed"
  icon="$(sed -n 's/^Icon=//p' "$entry")"
  for side in 16 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${side}x${side}/apps/$icon.png" ] || fault "no ${side}x${side} icon $icon"
  done
done
[ "$(ls "$prefix"/share/applications/*.desktop | wc -l)" -eq 2 ] || fault "the game and the editor need a desktop entry each"

for metainfo in "$prefix"/share/metainfo/*.metainfo.xml; do
  appstreamcli validate --no-net "$metainfo" >/dev/null || {
    appstreamcli validate --no-net "$metainfo" >&2 || true
    fault "appstreamcli refuses $(basename "$metainfo")"
  }
  launchable="$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")"
  [ -f "$prefix/share/applications/$launchable" ] || fault "$(basename "$metainfo") launches $launchable, which is not installed"
done

# The tree as a software centre reads it: each metainfo file with its desktop entry and icons.
appstreamcli validate-tree --no-net "$prefix" >/dev/null || fault "appstreamcli refuses the installed tree"

for program in zandrel zandrel-editor zandrel-level zandrel-data; do
  page="$prefix/share/man/man6/$program.6"
  if [ ! -f "$page" ]; then
    fault "no manual page for $program"
    continue
  fi
  warnings="$(groff -man -Tutf8 -ww -z "$page" 2>&1)"
  [ -z "$warnings" ] || fault "groff warns about $program.6: $warnings"
done

[ "$faults" -eq 0 ] || exit 1
echo "install: the installed tree plays and validates"
