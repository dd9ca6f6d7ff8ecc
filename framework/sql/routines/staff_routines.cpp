// Employee routines:
//   TK_PowielPracownika(company, user, employee) copies an employee of the company into a
//   new, current one and answers its id as the first column; the copy keeps no personnel
//   number (another employee has it), no lock and no link to a system user (one user is
//   one employee);
//   TK_ArchiwizujPracownika(employee, flag, user) archives the employee (flag 1) or
//   brings it back (0), unless it belongs to the payroll program or another user edits it;
//   TK_CzyNipJestUnikalny(company, nip, id, kind) fails with the reason when another
//   employee of the company (kind 'pracownik') or contractor ('kontrahent') has the tax
//   number; blanks and dashes do not count.
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/sql/dialect.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"

namespace slownik::sql {
namespace {

constexpr long long kCurrent = 1;
constexpr long long kArchived = 2;

// The columns a copy takes over as they are.
constexpr const char* kCopiedColumns =
    "NAZWISKO, NAZWISKO_RODOWE, IMIE_1, IMIE_2, IMIE_OJCA, IMIE_MATKI, NAZWISKO_MATKI, MIEJSCE_URODZ, "
    "DATA_URODZENIA, PLEC, PESEL, NIP, DOWOD, WYDANY, DATA_WYDANIA, TELEFON, ID_RACHUNKU, POLE1, POLE2, POLE3, "
    "POLE4, POLE5, POLE6, POLE7, POLE8, POLE9, POLE10";

long long whole(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 10); }

Status duplicateEmployee(Database& db, const std::vector<Cell>& argv, Result* out) {
  RoutineArgs args("TK_PowielPracownika", argv);
  if (Status s = args.require(3); !s) return s;
  long long company = 0, employee = 0;
  if (Status s = args.integer(0, &company); !s) return s;
  if (Status s = args.integer(2, &employee); !s) return s;
  Result found;
  std::vector<Param> own = {employee, company};
  if (Status s = db.execute("SELECT 1 FROM PRACOWNIK WHERE ID_PRACOWNIKA = ? AND ID_FIRMY = ?", own, &found); !s)
    return s;
  if (found.empty()) return Status::failure("Nie ma takiego pracownika w bieżącej firmie - mógł zostać usunięty.");

  // The id is chosen past the rows and past the ids that open forms have set aside for
  // employees not yet saved, under a lock held to the end of the routine's transaction.
  if (Status s = lockIdAllocation(db, "PRACOWNIK"); !s) return s;
  Result next;
  if (Status s = db.execute("SELECT MAX(N) + 1 FROM (SELECT COALESCE(MAX(ID_PRACOWNIKA), 0) AS N FROM PRACOWNIK "
                            "UNION ALL SELECT COALESCE(MAX(ID), 0) AS N FROM REZERWACJA_ID "
                            "WHERE TABELA = 'PRACOWNIK') R",
                            &next);
      !s)
    return s;
  const long long id = whole(next.scalar());
  std::vector<Param> copy = {id, employee};
  if (Status s = db.execute(std::string("INSERT INTO PRACOWNIK (ID_PRACOWNIKA, ID_FIRMY, NR_EWIDENCYJNY, SEMAFOR, "
                                        "ID_UZYTKOWNIKA, PLEW, ARCHIWUM, FLAGA_STANU, ") +
                                kCopiedColumns + ") SELECT ?, ID_FIRMY, '', 0, 0, 0, 1, 0, " + kCopiedColumns +
                                " FROM PRACOWNIK WHERE ID_PRACOWNIKA = ?",
                            copy, nullptr);
      !s)
    return s;
  if (out) {
    out->columns = {"ID_PRACOWNIKA"};
    out->rows = {{std::to_string(id)}};
  }
  return {};
}

Status archiveEmployee(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TK_ArchiwizujPracownika", argv);
  if (Status s = args.require(3); !s) return s;
  long long employee = 0, flag = 0, user = 0;
  if (Status s = args.integer(0, &employee); !s) return s;
  if (Status s = args.integer(1, &flag); !s) return s;
  if (Status s = args.integer(2, &user); !s) return s;
  if (flag != 0 && flag != 1) return args.failure("nieznana operacja " + std::to_string(flag));
  Result row;
  std::vector<Param> key = {employee};
  if (Status s = db.execute("SELECT COALESCE(PLEW, 0), COALESCE(SEMAFOR, 0) FROM PRACOWNIK WHERE ID_PRACOWNIKA = ?",
                            key, &row);
      !s)
    return s;
  if (row.empty()) return Status::failure("Nie ma takiego pracownika - mógł zostać usunięty.");
  if (whole(row.text(0, 0)) == 1) return Status::failure("Operacja dozwolona tylko w systemie Plew.");
  const long long holder = whole(row.text(0, 1));
  // A form of another user would write the old state back over the archive flag.
  if (holder > 0 && holder != user) return Status::failure("Pracownik jest aktualizowany przez innego użytkownika!");
  std::vector<Param> change = {flag == 1 ? kArchived : kCurrent, employee};
  return db.execute("UPDATE PRACOWNIK SET ARCHIWUM = ? WHERE ID_PRACOWNIKA = ?", change, nullptr);
}

// The digits of a tax number as the user may type it ("PL 123-456-32-18").
std::string nipDigits(const std::string& nip) {
  std::string digits;
  for (char c : nip)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

Status checkNipIsUnique(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TK_CzyNipJestUnikalny", argv);
  if (Status s = args.require(4); !s) return s;
  long long company = 0, id = 0;
  if (Status s = args.integer(0, &company); !s) return s;
  if (Status s = args.integer(2, &id); !s) return s;
  const std::string digits = nipDigits(args.text(1));
  if (digits.empty()) return {};
  std::string kind = args.trimmedText(3);
  for (char& c : kind) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const char* sql = nullptr;
  std::string owner;
  if (kind == "pracownik") {
    sql = "SELECT TRIM(COALESCE(NAZWISKO, '') || ' ' || COALESCE(IMIE_1, '')) FROM PRACOWNIK WHERE ID_FIRMY = ? "
          "AND REPLACE(REPLACE(REPLACE(UPPER(COALESCE(NIP, '')), 'PL', ''), '-', ''), ' ', '') = ? "
          "AND ID_PRACOWNIKA <> ? ORDER BY ID_PRACOWNIKA";
    owner = "pracownika";
  } else if (kind == "kontrahent") {
    sql = "SELECT TRIM(COALESCE(NAZWA, '')) FROM KONTRAHENT WHERE ID_FIRMY = ? "
          "AND REPLACE(REPLACE(REPLACE(UPPER(COALESCE(NIP, '')), 'PL', ''), '-', ''), ' ', '') = ? "
          "AND ID_KONTRAHENTA <> ? ORDER BY ID_KONTRAHENTA";
    owner = "kontrahenta";
  } else {
    return args.failure("nieznana kartoteka \"" + kind + "\"");
  }
  Result r;
  std::vector<Param> params = {company, digits, id};
  if (Status s = db.execute(sql, params, &r); !s) return s;
  if (r.empty()) return {};
  return Status::failure("Numer NIP " + args.trimmedText(1) + " jest już wpisany u " + owner + ": " + r.text(0, 0) +
                         ".");
}

}  // namespace

void registerStaffRoutines(RoutineRegistry& registry) {
  registry.add("TK_PowielPracownika", duplicateEmployee);
  registry.add("TK_ArchiwizujPracownika", archiveEmployee);
  registry.add("TK_CzyNipJestUnikalny", checkNipIsUnique, RoutineRegistry::Access::ReadsOnly);
}

}  // namespace slownik::sql
