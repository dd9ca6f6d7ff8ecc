#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace slownik::documents {

//! The contact list's columns, one list-format piece each ("80L(2)|M~Nazwisko~@s50@"),
//! in list order: surname, first name, phone, remarks, e-mail, second phone, fax,
//! position, title, GG (with its icon), Skype (with its icon).
const std::vector<std::string>& contactColumnDefaults();

//! The columns as the user's shared column configuration `configuration` ("Kontakt")
//! keeps them: a stored column takes its stored format and width. A stored format that
//! would move the list's fields (another count of fields: an icon or colours added or
//! lost) is not taken — the rows would show the wrong values — only its width is.
std::vector<std::string> configuredContactColumns(std::string_view configuration);
//! Stores every column's format and width under `configuration`.
void storeContactColumns(std::string_view configuration, const std::vector<std::string>& columns);

//! The width a piece starts with (0 when it starts with none).
int columnWidth(std::string_view piece);
//! The piece with its leading width replaced.
std::string withColumnWidth(std::string_view piece, int width);
//! The list format of the pieces.
std::string listFormatOf(const std::vector<std::string>& columns);

}  // namespace slownik::documents
