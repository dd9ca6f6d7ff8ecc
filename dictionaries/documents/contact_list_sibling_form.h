#pragma once

namespace slownik::documents {

//! The name under which a sibling module's contact form is installed
//! (svc::installProcedure); it edits the KNTK: record in the buffer according to
//! GLOBALREQUEST and answers in GLOBALRESPONSE.
inline constexpr const char* kContactFormProcedure = "KONTAKT_KONTRAHENTA_UPD";

//! Runs the contact form with GLOBALREQUEST as the caller set it: the sibling's when the
//! host installed one, else ours (ContactForm). The answer is left in GLOBALRESPONSE.
void runContractorContactForm();

}  // namespace slownik::documents
