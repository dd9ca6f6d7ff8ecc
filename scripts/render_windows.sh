#!/usr/bin/env bash
# Draws every window resource of the program to PNG files (offscreen, no display needed)
# for people to look at:  scripts/render_windows.sh [builddir] [resource folder]
# The pictures go to <builddir>/screenshots/.
set -euo pipefail
build=${1:-build}
resources=${2:-$(cd "$(dirname "$0")/.." && pwd)/resources}
tool="$build/host/render_windows"
if [ ! -x "$tool" ]; then
  cmake --build "$build" --target render_windows >/dev/null
fi
QT_QPA_PLATFORM=offscreen "$tool" "$build/screenshots" "$resources"
