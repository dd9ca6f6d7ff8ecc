#pragma once

extern "C" {

//! One exported procedure as the host's menu shows it.
struct SlownikEntryPoint {
  const char* exportName;  //!< the export: "VAT_BRW"
  const char* caption;     //!< menu text in Polish: "Stawki VAT"
  const char* subsystem;   //!< menu group in Polish: "Podatki, kraje i waluty"
  const char* kind;        //!< "browse", "picker", "loader", "importer", "form"; "tool": a picker
                           //!< that only makes sense from a document (offered for testing)
  void (*run)();           //!< starts it on the calling (procedure) thread; parameters take their defaults
};

//! The entry points built so far, for the host's menu; *count receives their number.
const SlownikEntryPoint* SLOWNIK_ENTRY_POINTS(int* count);

}
