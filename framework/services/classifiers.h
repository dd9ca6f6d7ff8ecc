#pragma once
// Classifiers: up to ten named values that the records of a kind ("Pracownik",
// "Magazyn", …) carry, defined per company (KLASYFIKATOR_DEFINICJA, with the allowed
// values in KLASYFIKATOR_SLOWNIK_WAR) and kept per record (KLASYFIKATOR_WARTOSC).
//
// A record form uses them in four steps, on its own thread:
//   KLASYFIKATORY_INITUSE("Magazyn", id);             // opening: the record's values
//   KLASYFIKATORY_OKNO("Magazyn", request, id);       // "Pola dodatkowe": edit them
//   if (KLASYFIKATORY_WALIDUJ("Magazyn") == 1) …      // before saving: 1 = not valid
//   KLASYFIKATORY_ZAPISZ("Magazyn", savedId);         // after saving the record
// A filter window edits the filter values of a kind (KLASYFIKATORY_OKNO with request 0),
// kept for the whole program between openings, and KLASYFIKATORY_UTWORZSQL turns them
// into a condition on the list's id column.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "framework/sql/status.h"

namespace slownik::svc {

inline constexpr int kClassifierCount = 10;
//! The request of KLASYFIKATORY_OKNO that edits the filter values of a kind.
inline constexpr int kClassifierFilterUse = 0;

//! One classifier of a kind. A classifier without a name is not defined (not shown).
struct ClassifierDefinition {
  int number = 0;                   //!< 1..10
  std::string name;
  bool required = false;            //!< a record must have a value
  bool listOnly = false;            //!< only a value of `values`; otherwise they only suggest
  std::vector<std::string> values;  //!< the allowed (or suggested) values, in order
  bool isDefined() const { return !name.empty(); }
};
using ClassifierValues = std::array<std::string, kClassifierCount>;

//! The ten classifiers of `kind` in the current company (GLO:ID_FIRMY), numbers 1..10.
//! A database failure gives none defined, with the reason in the runtime error state.
std::vector<ClassifierDefinition> classifierDefinitions(std::string_view kind);
//! Replaces the definitions of `kind` in the current company, in one transaction.
sql::Status saveClassifierDefinitions(std::string_view kind, const std::vector<ClassifierDefinition>& definitions);

//! Loads the values of record `recordId` of `kind` as this thread's record values (a new
//! record, id 0, has none). 0, or kSqlErrorCode after telling the user why.
int KLASYFIKATORY_INITUSE(std::string_view kind, double recordId);
//! The record whose values this thread holds for `kind` (0 = a new record; -1 = none).
double loadedRecord(std::string_view kind);
//! The window "Pola dodatkowe" of `kind`: request 1 or 2 edits this thread's record
//! values, 6 shows them, kClassifierFilterUse edits the kind's filter values. OK checks
//! what it must (record use: required and list-only values; filter use: list-only) and
//! keeps the values. Returns 1 when they were taken, 2 when cancelled or nothing is
//! defined. The administrator may open the definitions from it.
int KLASYFIKATORY_OKNO(std::string_view kind, int request, double recordId = 0);
//! 1 when a required value is missing or a list-only value is not on its list (the user
//! is told which), else 0. Checks this thread's record values of `kind`.
int KLASYFIKATORY_WALIDUJ(std::string_view kind);
//! Writes this thread's record values of `kind` as those of record `recordId`, in one
//! transaction. 0, or kSqlErrorCode after a warning with the database's text.
int KLASYFIKATORY_ZAPISZ(std::string_view kind, double recordId);
//! The condition that keeps the rows whose `keyColumn` ("a.id_pracownika") names a
//! record holding every filter value of `kind`; "" when no filter value is set.
std::string KLASYFIKATORY_UTWORZSQL(std::string_view kind, std::string_view keyColumn);

//! This thread's record values of `kind` (as loaded or edited).
ClassifierValues classifierValues(std::string_view kind);
void setClassifierValue(std::string_view kind, int number, std::string value);
//! The filter values of `kind`, kept for the whole program; setting them is thread-safe.
ClassifierValues classifierFilter(std::string_view kind);
void setClassifierFilter(std::string_view kind, const ClassifierValues& values);

//! The definitions window of `kind` ("Definicje pól dodatkowych"); for the administrator
//! only (others are told so). Returns 1 when definitions were saved, else 0.
int KLASYFIKATORY_DEFINICJE(std::string_view kind);

//! The first problem of `values` against `definitions` ("" = none): a required value
//! missing (when `checkRequired`), or a list-only value off its list.
std::string classifierProblem(const std::vector<ClassifierDefinition>& definitions, const ClassifierValues& values,
                              bool checkRequired);

}  // namespace slownik::svc
