#include "framework/classes/browser_popup.h"

namespace slownik::fw {

int USTAW4IKONYBROWSERA(PopupClass& popup, int withTexts) {
  int found = 0;
  for (const auto& item : kStandardPopupItems) {
    if (!popup.setIcon(item.name, item.icon)) continue;
    if (withTexts) popup.setText(item.name, item.text);
    ++found;
  }
  return found;
}

}  // namespace slownik::fw
