#pragma once
// The lists that look like the contractor lists take the row height, font and font size
// the program keeps for those (set by the sibling module's settings).
#include <initializer_list>
#include <string>
#include <string_view>

#include "framework/runtime/window.h"

namespace slownik::engine {

//! The look kept in GLO:CONTR_LIST_HEIGHT (dialog units), GLO:CONTR_LIST_FONT and
//! GLO:CONTR_LIST_FONT_SIZE (points), read as the program holds it now. A value that is
//! empty, not a whole number or not above 0 is 0 / "": the list keeps its own.
struct ContractorListLook {
  int rowHeight = 0;
  std::string font;
  int fontSize = 0;
};
ContractorListLook contractorListLook();

//! Gives each of `lists` of `window` that look; a list the window lacks is passed over.
void applyContractorListLook(const rt::Window& window, std::initializer_list<std::string_view> lists);

}  // namespace slownik::engine
