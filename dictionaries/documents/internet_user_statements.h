#pragma once
// The statements through which the internet users of a contractor are read and written.
// Ids are written as plain integers; every text value goes through the quoting helper,
// so that an apostrophe in a name or a password is stored as typed.
#include <string>

namespace slownik::documents {

//! What the user form saves: the values as typed, cut to the widths of the columns.
struct InternetUserValues {
  std::string password;   //!< haslo, up to 30 characters
  bool active = true;     //!< aktywny
  std::string surname;    //!< nazwisko, up to 50
  std::string firstName;  //!< imie, up to 50
};

std::string contractorNameSql(double contractorId);
std::string internetUsersSql(double contractorId);
std::string deleteInternetUserSql(double userId);
std::string addInternetUserSql(double contractorId);
std::string readInternetUserSql(double userId);
std::string saveInternetUserSql(double userId, const InternetUserValues& values);
//! Removes the row a new user's form created when the form closes without a save.
std::string dropUnsavedInternetUserSql(double userId);

}  // namespace slownik::documents
