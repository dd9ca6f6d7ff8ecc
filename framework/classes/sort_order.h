#pragma once
#include <string>

namespace slownik::fw {

class Locator;

//! One sort order of a list: a key of the main table ("KRA:PK_KRAJE") or an order text
//! ("+NAZWA,-KOD"), with the locator that searches in it (not owned; may be null).
struct SortOrder {
  std::string key;
  std::string orderText;
  Locator* locator = nullptr;
};

}  // namespace slownik::fw
