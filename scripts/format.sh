#!/usr/bin/env bash
# Formats the C++ sources as .clang-format says; with --check, changes nothing and fails
# (listing the files) when a source is not formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if [ "${1:-}" = "--check" ]; then
  unformatted=()
  for f in "${files[@]}"; do
    clang-format --style=file --dry-run --Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
  done
  if [ ${#unformatted[@]} -gt 0 ]; then
    echo "Not formatted (run scripts/format.sh):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
  fi
  exit 0
fi
clang-format --style=file -i "${files[@]}"
