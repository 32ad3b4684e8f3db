#!/usr/bin/env bash
# Fails, naming each file, when a C or C++ source under version control is not
# what clang-format-14 makes of it with the repository's .clang-format. The
# version is pinned: another clang-format release formats some constructs
# differently and would report files nobody changed.
set -euo pipefail
cd "$(dirname "$0")/.."

formatter=clang-format-14
command -v "$formatter" >/dev/null || {
  echo "check-format: $formatter is missing (scripts/install-deps.sh test installs it)" >&2
  exit 2
}

differing=0
while IFS= read -r -d '' file; do
  if ! "$formatter" --style=file "$file" | cmp -s - "$file"; then
    echo "check-format: $file differs from $formatter's output" >&2
    differing=$((differing + 1))
  fi
done < <(git ls-files -z -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp')

if [ "$differing" -ne 0 ]; then
  echo "check-format: $differing file(s) need: $formatter -i --style=file <file>" >&2
  exit 1
fi
