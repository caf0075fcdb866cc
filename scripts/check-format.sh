#!/bin/sh
# Fails when a C++ source differs from what clang-format-14 makes of it.
set -e
cd "$(dirname "$0")/.."
command -v clang-format-14 >/dev/null || { echo "check-format.sh needs clang-format-14 (scripts/setup-deps.sh installs it)" >&2; exit 2; }
unformatted=$(git ls-files '*.cpp' '*.h' | while read -r file; do
  clang-format-14 --dry-run --Werror "$file" >/dev/null 2>&1 || echo "$file"
done)
if [ -n "$unformatted" ]; then
  echo "Not formatted (run: clang-format-14 -i FILE):" >&2
  echo "$unformatted" >&2
  exit 1
fi
echo "All C++ sources are formatted."
