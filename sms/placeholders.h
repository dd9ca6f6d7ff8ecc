#pragma once
// The placeholders a message template may hold ("{Kontakt.Imie}") and the menu that
// offers them for a template's context. Pure functions: no window, no database.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::sms {

//! One entry of the placeholder menu: a placeholder, or a separator.
struct PlaceholderItem {
  std::string text;  //!< what the menu shows: "Kontakt.Imie", or "-" for a separator
  std::string name;  //!< what choosing it gives: "KontaktImie", or "sep1"/"sep2"
  bool isSeparator() const { return text == "-"; }
};

//! The menu for a template's context (compared as text): the contact and contractor
//! fields for every context, then the fields of the context's own group, if it has one
//! ("ROZRACH_BRW", "ZAM_BRW", "CRM_BRW").
std::vector<PlaceholderItem> placeholderMenu(std::string_view context);

//! The placeholder an item name stands for ("KontaktImie" → "{Kontakt.Imie}"), whatever
//! the context; nullopt for a name that is no placeholder (a separator, "").
std::optional<std::string> placeholderFor(std::string_view itemName);

//! A text with the cursor in it: the position is 1-based and counted in characters.
struct CursorText {
  std::string text;
  long position = 1;
  bool operator==(const CursorText&) const = default;
};

//! The text with the placeholder of item `itemName` inserted before the cursor and the
//! cursor just behind it, the result cut to `maxChars` characters (the cursor stays
//! within the text). A cursor before the start counts as the start, one beyond the end
//! as the end. An empty name (the menu was dismissed) or one that is no placeholder
//! changes nothing.
CursorText insertPlaceholder(CursorText in, std::string_view itemName, std::size_t maxChars);

}  // namespace slownik::sms
