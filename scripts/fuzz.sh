#!/usr/bin/env bash
# Runs one libFuzzer target with its dictionary and merges the inputs that
# found new coverage into its corpus in fuzz/corpus/<target>/.
#   scripts/fuzz.sh <target> [seconds] [more libFuzzer options]
# Targets: fuzz_formula fuzz_evaluators fuzz_text_evaluator fuzz_plot_file
# fuzz_derivative and the others of fuzz/.
# FUZZ_SANITIZERS=OFF builds without ASan and UBSan (build-fuzz-fast/), for
# long runs that count executions; the default runs under both (build-fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?usage: scripts/fuzz.sh <target> [seconds] [options]}"
seconds="${2:-600}"
shift $(($# < 2 ? $# : 2))
SAN="${FUZZ_SANITIZERS:-ON}"
DIR=build-fuzz
[ "$SAN" = OFF ] && DIR=build-fuzz-fast
if [ ! -f "$DIR/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=ON -DPLOTTER_FUZZ=ON -DPLOTTER_FUZZ_SANITIZERS="$SAN"
fi
cmake --build "$DIR" --target "$target"
case "$target" in
  fuzz_plot_file) dict=fuzz/dict/plot_file.dict max_len=3000 ;;
  *) dict=fuzz/dict/formula.dict max_len=4096 ;;
esac
corpus="fuzz/corpus/$target"
found="$(mktemp -d)"
trap 'rm -rf "$found"' EXIT
# A few seconds per input: the evaluators bound their work far below that,
# so a timeout is a real hang. A crash or hang leaves its input here as
# crash-* or timeout-*: copy it into the corpus once it is mended.
"$DIR/fuzz/$target" -dict="$dict" -max_len="$max_len" -timeout=5 \
  -max_total_time="$seconds" -print_final_stats=1 "$@" \
  "$found" "$corpus"
# Only the inputs that add coverage to the corpus are kept.
"$DIR/fuzz/$target" -merge=1 -max_len="$max_len" "$corpus" "$found"
