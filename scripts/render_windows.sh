#!/usr/bin/env bash
# Draws the program's windows to PNG files (offscreen, no display needed) for people to
# look at.
#   scripts/render_windows.sh [builddir] [resource folder]
#       every window resource, with empty lists  → <builddir>/screenshots/
#   scripts/render_windows.sh --live [builddir]
#       the module's real list windows and record forms, with the rows of a fresh demo
#       database                                 → <builddir>/screenshots/live/
set -euo pipefail
live=0
if [ "${1:-}" = "--live" ]; then
  live=1
  shift
fi
build=${1:-build}
if [ "$live" = 1 ]; then
  tool="$build/host/render_live"
  cmake --build "$build" --target render_live slownik >/dev/null
  QT_QPA_PLATFORM=offscreen "$tool" "$build/screenshots/live" "$build/libslownik.so"
  exit
fi
resources=${2:-$(cd "$(dirname "$0")/.." && pwd)/resources}
tool="$build/host/render_windows"
if [ ! -x "$tool" ]; then
  cmake --build "$build" --target render_windows >/dev/null
fi
QT_QPA_PLATFORM=offscreen "$tool" "$build/screenshots" "$resources"
