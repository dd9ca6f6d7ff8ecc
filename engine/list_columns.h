#pragma once
// The user's own column layout of a list and the list's export to a spreadsheet.
//
// A list whose descriptor names a `columnConfiguration` gets, at opening, each column's
// format and width as the user last left them (stored per user under that name), and
// stores them again at closing; its popup ends with "Eksport do Excela" (unless
// `spreadsheetExport` is off), "Drukuj" and "Konfiguracja kolumn" (guarded by `columnRight`).
#include <string>
#include <string_view>
#include <vector>

#include "framework/classes/popup_class.h"
#include "framework/services/excel_export.h"

namespace slownik::engine {

class ListWindow;

//! The pieces of a list format, one per column, in list order ("80L(2)|M~Nazwa~@s40@").
//! Empty when the format can't be read or groups columns under common headers (such a
//! list keeps the layout of its resource).
std::vector<std::string> columnPieces(std::string_view format);
//! The width a piece starts with (0 when none).
int pieceWidth(std::string_view piece);
//! The piece with its leading width replaced.
std::string withPieceWidth(std::string_view piece, int width);

//! `defaults` (the pieces of the resource's format) as the layout stored under
//! `configuration` changes them. A stored piece that would move the list's fields (an icon
//! or colours added or lost) is not taken, only its width: the rows would show wrong values.
std::vector<std::string> configuredPieces(std::string_view configuration, const std::vector<std::string>& defaults);
//! Stores every piece's format and width under `configuration`; 0 or the first failure's code.
int storePieces(std::string_view configuration, const std::vector<std::string>& pieces);

//! The list's layout applied to its window at opening (after the resource's format was read).
void applyListColumns(ListWindow& list);
//! Stores the window's layout at closing.
void storeListColumns(ListWindow& list);
//! The export, print and configuration items at the end of the list's popup.
void addListColumnItems(ListWindow& list, fw::PopupClass& popup);
//! Handles a popup choice of those items; false for any other item.
bool takeListColumnChoice(ListWindow& list, const std::string& item);

}  // namespace slownik::engine
