#!/usr/bin/env bash
# Runs one fuzz target for a time:  scripts/fuzz.sh TARGET SECONDS [LIBFUZZER OPTIONS...]
#   TARGET is a name of tests/fuzz/CMakeLists.txt (level_text, mesh, ...); "list" names them.
# Builds the "fuzz" preset (clang, libFuzzer, ASan + UBSan) when needed, then fuzzes a scratch
# copy of tests/fuzz/corpus/TARGET in build/fuzz/corpus/TARGET; the checked-in seeds stay as
# they are. No single allocation may pass 64 MiB: no input here is large enough to fill that
# much, so a reader asking for it trusts a count it should have checked. A finding is written
# to build/fuzz/findings/TARGET/ and the script fails; fix the reader and add the file to
# tests/fuzz/regressions/TARGET/, which the test suite replays.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=$(sed -n '/^set(fuzz_targets/,/)/p' tests/fuzz/CMakeLists.txt | tr -d '()' | sed 's/setfuzz_targets//')
if [ "${1:-}" = list ]; then
  echo $targets
  exit 0
fi
if [ $# -lt 2 ] || ! [[ " $(echo $targets) " == *" $1 "* ]] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
  sed -n '2,9p' "$0"
  exit 2
fi
target=$1
seconds=$2
shift 2

# ZANDREL_FUZZ_BUILT=1: the preset is built already (several targets run side by side).
if [ -z "${ZANDREL_FUZZ_BUILT:-}" ]; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=1
  [ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz --target "fuzz_$target" >/dev/null
fi

scratch=build/fuzz/corpus/$target
findings=build/fuzz/findings/$target
mkdir -p "$scratch" "$findings"
cp -n tests/fuzz/corpus/"$target"/* "$scratch"/ 2>/dev/null || true
dictionary=()
[ -f tests/fuzz/dictionaries/"$target".dict ] && dictionary=(-dict=tests/fuzz/dictionaries/"$target".dict)

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec build/fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -malloc_limit_mb=64 \
  -print_final_stats=1 -artifact_prefix="$findings"/ "${dictionary[@]}" "$@" "$scratch"
