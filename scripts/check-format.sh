#!/usr/bin/env bash
# Checks that every C++ file under version control is formatted as .clang-format says; prints
# each difference and fails when there is one. Installs clang-format when it is missing.
# `clang-format -i FILE` formats a file.
#
#   scripts/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh clang-format
count=$(git ls-files '*.cpp' '*.h' | wc -l)
git ls-files -z '*.cpp' '*.h' | xargs -0 -P "$(nproc)" -n 20 clang-format --dry-run --Werror
echo "format: $count files as .clang-format says"
