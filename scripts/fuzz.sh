#!/usr/bin/env bash
# Builds the case-file fuzz target with clang and runs it at low priority.
#   scripts/fuzz.sh [seconds]      (default 600)
# The corpus grows in build/fuzz/corpus (seeded with valid case files); crashes, leaks and
# inputs that allocate too much are written to build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"

cmake --preset fuzz >/dev/null
nice cmake --build --preset fuzz -j2 --target case_file_fuzz make_case_seeds

corpus=build/fuzz/corpus
findings=build/fuzz/findings
mkdir -p "$corpus" "$findings"
build/fuzz/bin/make_case_seeds "$corpus"

nice -n 19 build/fuzz/bin/case_file_fuzz "$corpus" \
    -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -malloc_limit_mb=64 \
    -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/"
