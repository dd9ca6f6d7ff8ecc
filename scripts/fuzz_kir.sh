#!/usr/bin/env bash
# Builds and runs the branch-file fuzz target (libFuzzer, clang, address and undefined
# sanitizers). Not part of `make test`.
#   scripts/fuzz_kir.sh [seconds]     default 180
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${KIR_FUZZ_DIR:-$root/build-fuzz-kir}"
seconds="${1:-180}"
mkdir -p "$out/corpus"

# The catalogue the reader checks its layout against comes from the program's own build
# (uninstrumented): the fuzzing is for the reader, and the catalogue needs the whole SQL layer.
build="${SLOWNIK_BUILD_DIR:-$root/build}"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fw_sql >/dev/null
sql_libs="-L$build -Wl,-rpath,$build -lfw_sql -lfw_runtime"
reader_sources="$root/dictionaries/banking/kir_branch_file.cpp $root/dictionaries/banking/kir_code_page.cpp"
flags="-std=c++20 -g -O1 -I$root -I$root/tests"

# shellcheck disable=SC2086
clang++ $flags -fsanitize=fuzzer,address,undefined -o "$out/kir_reader_fuzz" \
  "$root/fuzz/kir_reader_fuzz.cpp" $reader_sources $sql_libs
# shellcheck disable=SC2086
clang++ $flags -o "$out/kir_seed_corpus" "$root/fuzz/kir_seed_corpus.cpp" \
  "$root/dictionaries/banking/kir_branch_file_writer.cpp" $reader_sources $sql_libs
"$out/kir_seed_corpus" "$out/corpus"

"$out/kir_reader_fuzz" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -max_len=65536 \
  "$out/corpus"
