#include "dictionaries/documents/contact_list_sibling_form.h"

#include "dictionaries/documents/contact_form.h"
#include "framework/services/procedure_registry.h"

namespace slownik::documents {

void runContractorContactForm() {
  svc::callProcedure(kContactFormProcedure, {}, [](const svc::ProcedureArgs&) { runContactForm(); });
}

}  // namespace slownik::documents
