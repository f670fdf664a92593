#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, build-fuzz/) and runs each for the
# given number of seconds, several at a time, keeping each target's corpus in
# build-fuzz/corpus/<target> and what it finds in build-fuzz/findings/<target>.
# usage: scripts/fuzz.sh SECONDS [TARGET...]   (targets: the names in fuzz/*_fuzz.cpp)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}"; shift
"$root/scripts/setup.sh" --tests
CXX=clang++ "$root/scripts/build.sh" "$root/build-fuzz" -DLFG_FUZZ=ON -DLFG_BUILD_TESTS=OFF >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$root"/fuzz/*_fuzz.cpp; do n="$(basename "$f" .cpp)"; targets+=("${n%_fuzz}"); done
fi

run_one() {
  local root="$1" seconds="$2" name="$3"
  local dir="$root/build-fuzz"
  mkdir -p "$dir/corpus/$name" "$dir/findings/$name"
  local dict=""
  case "$name" in
    description) dict="-dict=$root/fuzz/dict/description.dict" ;;
    english_entries|lfg_lexicon|urdu_grammar|segmentation_rules|mapping_lexicon|urdu_word_forms|urdu_spelling) dict="-dict=$root/fuzz/dict/rules.dict" ;;
  esac
  local log="$dir/findings/$name/log.txt"
  set +e
  # The targets carry their own sanitizer defaults (fuzz/sanitizer_options.cpp:
  # ten frames per allocation stack, so that the sanitizer's store of stacks
  # stays small over a long run); ASAN_OPTIONS adds to them.
  ASAN_OPTIONS=detect_leaks=1 "$dir/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
    -artifact_prefix="$dir/findings/$name/" $dict "$dir/corpus/$name" >"$log" 2>&1
  local status=$?
  set -e
  local done_line
  done_line="$(grep -E '^#[0-9]+' "$log" | tail -1 | awk '{print $1, $2, $3, $4}')"
  local found
  found="$(find "$dir/findings/$name" -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' | wc -l)"
  printf '%-20s exit %d  %s  findings %s\n' "$name" "$status" "$done_line" "$found"
}
export -f run_one
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one "$@"' _ "$root" "$seconds" {}
