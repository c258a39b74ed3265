#!/bin/sh
# Builds gdiwidths.exe (a Windows console program) into ./build/.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cc=${CC_MINGW:-x86_64-w64-mingw32-gcc}
mkdir -p "$here/build"
"$cc" -O2 -Wall -Wextra -o "$here/build/gdiwidths.exe" "$here/gdiwidths.c" -lgdi32
echo "$here/build/gdiwidths.exe"
