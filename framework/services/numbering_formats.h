#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace slownik::svc {

//! The numbering definition of one document type: what the document windows number
//! its documents by.
struct NumberingFormat {
  int family = 0;         //!< 1 warehouse, 3 financial, 4 trade documents
  long long type = 0;     //!< the document type's id
  std::string signature;  //!< without trailing blanks
  std::string format;     //!< e.g. "{SYGNATURA}/{NUMER}/{ROK}"
  bool receipt = false;   //!< a receipt type (warehouse documents)
};

//! Reads the numbering definitions of every document type of the current company
//! (GLO:ID_FIRMY) again, in place of those loaded before. Process-wide; any thread may
//! call it and read the formats. When the database can't be read the formats loaded
//! before stay, and the runtime error state tells why.
void LADUJFORMATYNUMERACJI();

//! The loaded definition of a document type of the current company; nullopt when it
//! has none, or when the formats were loaded for another company.
std::optional<NumberingFormat> numberingFormat(int family, long long type);

//! A document's number by a format: {SYGNATURA}, {NUMER} and {ROK} are replaced by
//! the signature, the running number and the year; other text stays as written.
//! "{SYGNATURA}/{NUMER}/{ROK}" with "PZ", 12, 2024 gives "PZ/12/2024".
std::string documentNumber(std::string_view format, std::string_view signature, long long number, int year);

}  // namespace slownik::svc
