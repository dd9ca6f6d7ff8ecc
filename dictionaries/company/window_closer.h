#pragma once
// Closing the other windows of the program before it moves to another company.
#include <chrono>

namespace slownik::company {

//! Asks every open window of the other procedure threads to close, newest first, as
//! another window of the program asks (a form with unsaved changes asks the person
//! whether to save them), and waits for each. False, with the rest left open, as soon
//! as one stays open: the person answered "Anuluj", a save check failed, or its
//! thread did not take the request within `patience` (it is busy; then the person is
//! told which window stands in the way).
bool closeOtherWindows(std::chrono::milliseconds patience = std::chrono::seconds(30));

}  // namespace slownik::company
