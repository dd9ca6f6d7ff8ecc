#!/usr/bin/env bash
# Starts the desktop host from a build folder (make run). The host itself creates,
# migrates and seeds the demo database in the user's data folder on its first start and
# says where it is; the demo's user is Admin with an empty password. Extra arguments go
# to it (--db URL for another database, --login NAME).
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
  - udostępnij okna przez VNC:      QT_QPA_PLATFORM=vnc:port=5900 make run
    i połącz się przeglądarką VNC z localhost:5900
  - albo uruchom program w sesji graficznej (lub przez ssh -X).
MSG
  exit 2
fi
case "${QT_QPA_PLATFORM:-}" in
  offscreen* | minimal*)
    cat >&2 <<MSG
QT_QPA_PLATFORM=${QT_QPA_PLATFORM}: okna programu rysują się tam, gdzie nikt ich nie widzi,
więc nikt nie mógłby się zalogować. Aby zobaczyć okna bez ekranu graficznego, uruchom:
  QT_QPA_PLATFORM=vnc:port=5900 make run
i połącz się przeglądarką VNC z localhost:5900.
MSG
    exit 2
    ;;
esac
# xvfb-run gives the program a screen nobody looks at: the log-in would wait for ever.
if [ -z "${QT_QPA_PLATFORM:-}" ] && [[ "${XAUTHORITY:-}" == */xvfb-run.* ]]; then
  cat >&2 <<'MSG'
Program działa w wirtualnym ekranie xvfb, którego nikt nie widzi: okno logowania czekałoby w nieskończoność.
Aby zobaczyć okna bez ekranu graficznego, uruchom zamiast tego:
  QT_QPA_PLATFORM=vnc:port=5900 make run
i połącz się przeglądarką VNC z localhost:5900.
MSG
  exit 2
fi
echo "Logowanie do danych przykładowych: użytkownik Admin, hasło puste." >&2
if [[ "${QT_QPA_PLATFORM:-}" == vnc* ]]; then
  echo "Okna programu są dostępne przez VNC (${QT_QPA_PLATFORM#vnc:}); połącz się z localhost." >&2
fi
exec "$program" "$@"
