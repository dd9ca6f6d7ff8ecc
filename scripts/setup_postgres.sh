#!/usr/bin/env bash
# Prepares a PostgreSQL database for an office: the database, an owner role that runs the
# program's migrations, and a login role for the workstations that may read and change the
# module's rows but not the schema. Safe to run again (after a migration it grants the login
# role the tables the migration added).
#
#   scripts/setup_postgres.sh [--admin URL] [--db NAME] [--owner ROLE] [--login ROLE]
#
#   --admin   how to reach the server as a superuser (default: libpq's defaults, e.g. run
#             as the postgres system user: sudo -u postgres scripts/setup_postgres.sh)
#   --db      database name (default slownik); --owner (default slownik_wlasciciel);
#   --login   (default slownik)
#
# Passwords of the two roles come from SLOWNIK_OWNER_PASSWORD and SLOWNIK_LOGIN_PASSWORD,
# or are asked for on a terminal; never from the command line, where other users of the
# machine could read them. Without a terminal and without them the roles get no password
# (for servers that authenticate otherwise: peer, certificates). Needs psql 15 or newer.
set -euo pipefail
admin="" db=slownik owner=slownik_wlasciciel login=slownik
while [ $# -gt 0 ]; do
  case "$1" in
    --admin) admin="$2"; shift 2 ;;
    --db) db="$2"; shift 2 ;;
    --owner) owner="$2"; shift 2 ;;
    --login) login="$2"; shift 2 ;;
    -h|--help) sed -n '2,18p' "$0"; exit 0 ;;
    *) echo "setup_postgres: nieznana opcja $1" >&2; exit 2 ;;
  esac
done
if [ "$owner" = "$login" ]; then
  echo "setup_postgres: rola właściciela i rola logowania muszą być różne" >&2; exit 2
fi

ask_password() {  # variable, role
  local var="$1" role="$2" first second
  if [ -n "${!var:-}" ] || [ ! -t 0 ]; then return; fi
  read -rsp "Hasło roli $role (puste = bez hasła): " first; echo
  [ -z "$first" ] && return
  read -rsp "Powtórz hasło roli $role: " second; echo
  if [ "$first" != "$second" ]; then echo "setup_postgres: hasła różnią się" >&2; exit 2; fi
  export "$var=$first"
}
ask_password SLOWNIK_OWNER_PASSWORD "$owner"
ask_password SLOWNIK_LOGIN_PASSWORD "$login"
# An empty one means none: psql then leaves the role's password as it is.
[ -z "${SLOWNIK_OWNER_PASSWORD:-}" ] && unset SLOWNIK_OWNER_PASSWORD
[ -z "${SLOWNIK_LOGIN_PASSWORD:-}" ] && unset SLOWNIK_LOGIN_PASSWORD

psql_args=(-X -q -v ON_ERROR_STOP=1 -v db="$db" -v owner="$owner" -v login="$login")
[ -n "$admin" ] && psql_args+=("$admin")

# Passwords travel through psql's \getenv: in no command line, no file, no psql history.
psql "${psql_args[@]}" <<'SQL'
SELECT format('CREATE ROLE %I LOGIN', :'owner') WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = :'owner')
\gexec
SELECT format('CREATE ROLE %I LOGIN', :'login') WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = :'login')
\gexec
\getenv owner_password SLOWNIK_OWNER_PASSWORD
\if :{?owner_password}
ALTER ROLE :"owner" PASSWORD :'owner_password';
\endif
\getenv login_password SLOWNIK_LOGIN_PASSWORD
\if :{?login_password}
ALTER ROLE :"login" PASSWORD :'login_password';
\endif
SELECT format('CREATE DATABASE %I OWNER %I ENCODING %L TEMPLATE template0', :'db', :'owner', 'UTF8')
  WHERE NOT EXISTS (SELECT 1 FROM pg_database WHERE datname = :'db')
\gexec
REVOKE ALL ON DATABASE :"db" FROM PUBLIC;
GRANT ALL ON DATABASE :"db" TO :"owner";
GRANT CONNECT ON DATABASE :"db" TO :"login";

\connect :"db"
-- Only the owner creates anything here; before PostgreSQL 15 everybody could in public.
ALTER SCHEMA public OWNER TO :"owner";
REVOKE ALL ON SCHEMA public FROM PUBLIC;
GRANT USAGE ON SCHEMA public TO :"login";
-- Rows of the module's tables, present (the script run after a migration) and to come.
GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO :"login";
GRANT USAGE, SELECT, UPDATE ON ALL SEQUENCES IN SCHEMA public TO :"login";
GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA public TO :"login";
ALTER DEFAULT PRIVILEGES FOR ROLE :"owner" IN SCHEMA public GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO :"login";
ALTER DEFAULT PRIVILEGES FOR ROLE :"owner" IN SCHEMA public GRANT USAGE, SELECT, UPDATE ON SEQUENCES TO :"login";
ALTER DEFAULT PRIVILEGES FOR ROLE :"owner" IN SCHEMA public GRANT EXECUTE ON FUNCTIONS TO :"login";
SQL
echo "Baza $db gotowa: właściciel $owner (migracje), logowanie $login (praca w programie)."
