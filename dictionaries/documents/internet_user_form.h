#pragma once

namespace slownik::documents {

//! The form of one internet user of a contractor ("Edycja użytkownika internetowego").
//! `userId` 0 adds a new user: the row is created when the form opens ("Dodawanie
//! użytkownika internetowego") and removed again when the form closes without a save.
//! Returns the id of the saved user, 0 when nothing was saved or the form could not open
//! (the contractor or the user can't be read; the user was told why). Runs on the
//! calling thread until the form closes.
double HASLO_INTER_0001_002(double userId, double contractorId);

}  // namespace slownik::documents
