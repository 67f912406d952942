#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang in a build folder of their own and runs each for a while.
# Usage: run-fuzzers.sh [--seconds N] [--build DIR] [TARGET...]
#   --seconds  time per target (default 60)
#   --build    the clang build folder (default <source>/build-fuzz-clang)
#   TARGET     ini_file, profile_file, encoder_output, encoder_options (default: all)
# Exits 77 (a skip for the test suite) when clang or its libFuzzer runtime is not installed.
# New inputs that reach further go to <build>/fuzz-work/<target>/corpus, never into the source tree;
# a crash leaves its input there as crash-* (or timeout-*, leak-*): copy it into
# tests/fuzz/corpus/<target>/ once the defect is fixed, so every test run replays it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
seconds=60
build=$root/build-fuzz-clang
targets=()
while (($#)); do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    -h|--help) sed -n '3,11p' "${BASH_SOURCE[0]}"; exit 0 ;;
    *) targets+=("$1"); shift ;;
  esac
done
((${#targets[@]})) || targets=(ini_file profile_file encoder_output encoder_options)

cxx=${ZANTROVE_FUZZ_CXX:-clang++}
if ! command -v "$cxx" >/dev/null; then
  echo "run-fuzzers: $cxx is not installed (apt-get install clang libclang-rt-dev); skipped" >&2
  exit 77
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' >"$probe/probe.cpp"
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>"$probe/log"; then
  cat "$probe/log" >&2
  echo "run-fuzzers: $cxx cannot link libFuzzer (apt-get install libclang-rt-dev); skipped" >&2
  exit 77
fi

jobs=$(nproc)
# The targets write a file per input; on a memory file system that costs no disk flushes.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
started=$SECONDS
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZANTROVE_FUZZ=ON -DZANTROVE_BUILD_GUI=OFF >"$probe/configure.log" ||
  { cat "$probe/configure.log" >&2; exit 1; }
build_targets=()
for t in "${targets[@]}"; do build_targets+=(--target "fuzz_$t"); done
cmake --build "$build" -j"$jobs" "${build_targets[@]}" >"$probe/build.log" 2>&1 ||
  { tail -n 60 "$probe/build.log" >&2; exit 1; }
echo "run-fuzzers: built ${#targets[@]} targets in $((SECONDS - started)) s"

status=0
for t in "${targets[@]}"; do
  seeds=$root/tests/fuzz/corpus/$t
  work=$build/fuzz-work/$t
  mkdir -p "$work/corpus"
  log=$work/last-run.log
  marker=$work/.run-started
  touch "$marker"
  # A unit that takes 10 s is a hang; ASan's leak check stays on, so leaks count too.
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -dict="$root/tests/fuzz/dictionaries/$t.dict" -artifact_prefix="$work/" "$work/corpus" "$seeds" \
       >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    edges=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
    echo "run-fuzzers: $t: ${runs:-?} inputs in $seconds s, $edges, no failure"
  else
    status=1
    echo "run-fuzzers: $t FAILED; the log ends:" >&2
    tail -n 40 "$log" >&2
    find "$work" -maxdepth 1 -newer "$marker" -type f \( -name 'crash-*' -o -name 'timeout-*' -o -name 'leak-*' \
      -o -name 'oom-*' -o -name 'slow-unit-*' \) -printf 'run-fuzzers: input kept as %p\n' >&2
  fi
done
exit $status
