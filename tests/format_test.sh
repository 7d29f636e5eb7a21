#!/bin/sh
# The project's own C++ sources keep its .clang-format layout; build folders are not looked at.
cd "$1" || exit 1
files=$(find model window tests bench -name '*.cpp' -o -name '*.h' | sort)
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files && echo "formatted: $(echo "$files" | wc -l) files"
