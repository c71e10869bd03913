#!/usr/bin/env bash
# House rules the compiler cannot check: only the SDL backend includes SDL
# headers, and every source file is formatted with the project's clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
if grep -rnE '#\s*include\s*[<"]SDL' src --include='*.cpp' --include='*.h' | grep -v '^src/platform/sdl/'; then
  echo "error: SDL headers included outside src/platform/sdl/" >&2
  status=1
fi

files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'fuzz/*.cpp' 2>/dev/null || true)
if [ -n "$files" ]; then
  if ! clang-format --dry-run -Werror $files; then
    echo "error: files above are not clang-formatted (run: clang-format -i FILE)" >&2
    status=1
  fi
fi
exit $status
