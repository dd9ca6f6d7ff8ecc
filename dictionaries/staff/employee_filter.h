#pragma once
// The employee filter: what the user typed in the window "Filtr pracownika", the SQL
// condition made from it, and the values remembered for the next opening.
#include <string>

#include "framework/services/classifiers.h"

namespace slownik::staff {

//! The filter window's values; empty texts and day 0 set no condition.
struct EmployeeFilterValues {
  std::string number;     //!< personnel number, a prefix
  std::string surname;    //!< a prefix
  std::string firstName;  //!< a prefix
  long long birthDay = 0; //!< the exact day of birth (day number)
  std::string pesel;      //!< a prefix
  std::string nip;        //!< a prefix
  //! The classifier values an employee must hold ("Pola dodatkowe"); "" = any.
  svc::ClassifierValues classifiers{};
  bool isEmpty() const;
  bool operator==(const EmployeeFilterValues&) const = default;
};

//! The SQL condition on the list's rows (alias "a") of the typed values: each value set
//! gives one part, in the order number, surname, day of birth, first name, PESEL, NIP,
//! joined by " and " (the classifier part is FILTRPRACOWNIKA's, below). Texts
//! are prefixes; every value goes into the text through the quoting helper, so that an
//! apostrophe in a surname is searched for, not read as SQL. "" when nothing is set.
std::string employeeFilterCondition(const EmployeeFilterValues& values);

//! The values the filter window last confirmed. They live for the whole program and are
//! shared by every employee list open in it; reading and writing them is thread-safe. The
//! classifier values are kept as the classifiers' filter values of the kind "Pracownik".
EmployeeFilterValues rememberedEmployeeFilter();
void rememberEmployeeFilter(const EmployeeFilterValues& values);

//! The filter window ("FILTRPRACOWNIKA"). With `silent` the condition is made from the
//! remembered values without opening the window. The condition ends with the classifier
//! part: employees holding every classifier value of the remembered filter. Returns 1 when confirmed (the condition
//! in `condition`), 2 when cancelled (`condition` untouched).
int FILTRPRACOWNIKA(bool silent, std::string* condition);

}  // namespace slownik::staff
