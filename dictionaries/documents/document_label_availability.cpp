#include "dictionaries/documents/document_label_availability.h"

#include "engine/record_form.h"

namespace slownik::documents {

const std::array<const char*, kLabelPositions>& labelAvailabilityControls() {
  static const std::array<const char*, kLabelPositions> controls = {
      "?DOK_MAG", "?DOK_ZAM", "?DOK_HAN", "?DOK_FIN", "?DOK_ROZ", "?DOK_PROD", "?DOK_ART", "?DOK_KONTR", "?TABELE_DOD"};
  return controls;
}

std::string encodeLabelAvailability(const LabelAvailability& available) {
  std::string text;
  for (bool on : available) text += on ? '1' : '0';
  return text;
}

LabelAvailability decodeLabelAvailability(std::string_view text) {
  LabelAvailability available{};
  for (std::size_t i = 0; i < available.size() && i < text.size(); ++i) available[i] = text[i] == '1';
  return available;
}

bool isAnyAvailable(const LabelAvailability& available) {
  for (bool on : available)
    if (on) return true;
  return false;
}

int labelFilterPosition(std::string_view item) {
  for (const auto& i : kLabelFilterItems)
    if (item == i.text) return i.position;
  return 0;
}

std::optional<int> labelListPosition(std::string_view listKind) {
  std::string kind = engine::trimmed(listKind);
  if (kind.size() != 1 || kind[0] < '1' || kind[0] > '9') return std::nullopt;
  return kind[0] - '0';
}

std::string labelFilter(int position) {
  if (position < 1 || position > kLabelPositions) return {};
  return "+SUBSTRING(dokument," + std::to_string(position) + ",1)='1'";
}

}  // namespace slownik::documents
