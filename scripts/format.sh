#!/usr/bin/env bash
# Formats every C++ file of the repository by its .clang-format.
# scripts/format.sh --check only lists the files that differ and exits 1 if any does.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  bad=()
  for f in "${files[@]}"; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
  done
  if [ ${#bad[@]} -gt 0 ]; then
    echo "Not formatted by .clang-format (run scripts/format.sh):"
    printf '  %s\n' "${bad[@]}"
    exit 1
  fi
  echo "All ${#files[@]} C++ files formatted."
else
  clang-format -i "${files[@]}"
fi
