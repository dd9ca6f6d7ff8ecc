#include "engine/contractor_list_look.h"

#include <charconv>

#include "engine/record_form.h"
#include "framework/classes/theme_classes.h"
#include "framework/data/globals.h"

namespace slownik::engine {
namespace {

// The settings are typed by people and travel as text: " 14 " is 14, "14px" is nothing.
int positiveNumber(const std::string& text) {
  const std::string t = trimmed(text);
  int value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  return ec == std::errc() && end == t.data() + t.size() && value > 0 ? value : 0;
}

}  // namespace

ContractorListLook contractorListLook() {
  auto& g = data::glo();
  return {positiveNumber(g.CONTR_LIST_HEIGHT.get()), trimmed(g.CONTR_LIST_FONT.get()),
          positiveNumber(g.CONTR_LIST_FONT_SIZE.get())};
}

void applyContractorListLook(const rt::Window& window, std::initializer_list<std::string_view> lists) {
  const ContractorListLook look = contractorListLook();
  for (std::string_view list : lists) {
    if (look.rowHeight > 0) fw::setListRowHeight(window, list, look.rowHeight);
    fw::setListFont(window, list, look.font, look.fontSize);
  }
}

}  // namespace slownik::engine
