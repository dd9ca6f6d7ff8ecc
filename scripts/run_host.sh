#!/usr/bin/env bash
# Starts the desktop host from a build folder (make run). The host itself creates,
# migrates and seeds the demo database in the user's data folder on its first start;
# extra arguments go to it (--db URL for another database, --login NAME).
set -euo pipefail
build=${1:-build}
shift || true
program="$build/slownik"
if [ ! -x "$program" ]; then
  echo "Nie znaleziono programu $program. Zbuduj go najpierw: make build" >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
Brak ekranu: nie ustawiono DISPLAY ani WAYLAND_DISPLAY, więc okna programu nie mają gdzie się pokazać.
Możliwości:
  - uruchom w wirtualnym ekranie:   xvfb-run -a make run
    (pakiet xvfb; okien nie zobaczysz, ale program działa)
  - udostępnij okna przez VNC:      QT_QPA_PLATFORM=vnc:port=5900 make run
    i połącz się przeglądarką VNC z localhost:5900
  - albo uruchom program w sesji graficznej (lub przez ssh -X).
MSG
  exit 2
fi
if [[ "${QT_QPA_PLATFORM:-}" == vnc* ]]; then
  echo "Okna programu są dostępne przez VNC (${QT_QPA_PLATFORM#vnc:}); połącz się z localhost." >&2
fi
exec "$program" "$@"
