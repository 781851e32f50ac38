#!/usr/bin/env bash
# check_format.sh BUILD SOURCE: every C++ file of the repository is as clang-format
# leaves it, with Debian's clang-format-14 so that every machine agrees.
set -euo pipefail
cd "$2"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
