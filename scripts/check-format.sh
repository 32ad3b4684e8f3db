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
git ls-files -z -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' |
  xargs -0 "$formatter" --style=file --dry-run -Werror || exit 1
