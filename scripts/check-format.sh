#!/usr/bin/env bash
# Fails when a C++ file of the project is not in the house format
# (.clang-format at the project root).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"
fmt="$(command -v clang-format-14 || command -v clang-format)"
bad=$(git ls-files '*.cpp' '*.h' | xargs "$fmt" --dry-run 2>&1 | grep -c 'warning:' || true)
if [ "$bad" != "0" ]; then
  git ls-files '*.cpp' '*.h' | xargs "$fmt" --dry-run 2>&1 | grep 'warning:' | cut -d: -f1 | sort -u
  echo "Not in the house format; run: git ls-files '*.cpp' '*.h' | xargs $fmt -i" >&2
  exit 1
fi
