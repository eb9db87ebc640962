#!/usr/bin/env bash
# Checks that every C and C++ source the repository tracks is formatted by the project's
# .clang-format (clang-format 14, Debian 12's). Prints the files that differ and exits 1 when
# any does; `scripts/check-format.sh --fix` formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
fix=0
[ "${1:-}" = "--fix" ] && fix=1
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.hpp' '*.c')
if [ "$fix" = 1 ]; then
  clang-format -i --style=file "${files[@]}"
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  clang-format --style=file "$f" | cmp -s - "$f" || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted by .clang-format (scripts/check-format.sh --fix formats them):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "All ${#files[@]} sources are formatted."
