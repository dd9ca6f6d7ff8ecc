#pragma once
#include "framework/classes/popup_class.h"

namespace slownik::fw {

//! The standard items of a list's popup menu, by item name, with their texts and icons.
struct StandardPopupItem {
  const char* name;  //!< "Insert", "Change", "Delete", "Select"
  const char* text;  //!< "Dodaj", "Popraw", "Usuń", "Wybierz"
  const char* icon;  //!< "~dodaj2.ico", …
};
inline constexpr StandardPopupItem kStandardPopupItems[] = {
    {"Insert", "Dodaj", "~dodaj2.ico"},
    {"Change", "Popraw", "~Popraw2.ico"},
    {"Delete", "Usuń", "~Usun2.ico"},
    {"Select", "Wybierz", "~wybierz.ico"},
};

//! Gives the standard items of a list's popup (those it has) their four icons; with
//! `withTexts` non-zero also their Polish texts. Returns how many items it found.
int USTAW4IKONYBROWSERA(PopupClass& popup, int withTexts = 0);

}  // namespace slownik::fw
