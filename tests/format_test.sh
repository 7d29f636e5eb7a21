#!/bin/sh
# The C++ sources keep the project's .clang-format layout.
cd "$1" || exit 1
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files && echo "formatted: $(echo "$files" | wc -l) files"
