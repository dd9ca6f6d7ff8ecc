#pragma once
#include <functional>

namespace slownik::documents {

//! The contact form of a contractor belongs to the sibling module RAPKONTR, whose
//! procedure KONTAKT_KONTRAHENTA_UPD is called by name: it edits the KNTK: record in the
//! buffer according to GLOBALREQUEST and answers in GLOBALRESPONSE.
//!
//! The runtime offers no way yet to load a sibling module and call one of its procedures
//! by name. Until it does, the host (or a test) installs the sibling's procedure here;
//! without one, the user is told that the contact form is not available and the call
//! answers cancelled, so the list changes nothing. Installing is thread-safe.
void setSiblingContactForm(std::function<void()> form);
//! Whether a sibling's contact form is installed.
bool hasSiblingContactForm();

//! Runs the sibling's contact form with GLOBALREQUEST as the caller set it; leaves the
//! answer in GLOBALRESPONSE (2 when the form is not available).
void runSiblingContactForm();

//! What the user is told when the sibling's form is missing.
inline constexpr const char* kContactFormMissing =
    "Formularz kontaktu kontrahenta (moduł RAPKONTR, KONTAKT_KONTRAHENTA_UPD) jest niedostępny.";

}  // namespace slownik::documents
