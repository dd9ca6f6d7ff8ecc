#include "framework/services/gus_registry_reply.h"

#include <algorithm>

namespace slownik::svc {

GusFieldPlace placeOf(GusField field) {
  switch (field) {
    case GusField::Status: return {0, 200};
    case GusField::Regon: return {200, 20};
    case GusField::Nip: return {220, 20};
    case GusField::Name: return {240, 200};
    case GusField::Province: return {440, 200};
    case GusField::Town: return {640, 200};
    case GusField::Street: return {840, 200};
    case GusField::Postcode: return {1040, 220};
    case GusField::County: return {1260, 50};
    case GusField::Country: return {1310, 20};
    case GusField::Email: return {1330, 50};
    case GusField::Phone: return {1380, 50};
  }
  return {0, 0};
}

std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  // Step back over continuation bytes to the lead byte of the character cut in two.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

void GusReplyRecord::set(GusField field, std::string_view text) {
  const GusFieldPlace place = placeOf(field);
  const std::string_view fitting = utf8Prefix(text, place.length);
  char* at = bytes_.data() + place.offset;
  std::fill(at, at + place.length, ' ');
  std::copy(fitting.begin(), fitting.end(), at);
}

std::string GusReplyRecord::text(GusField field) const {
  const GusFieldPlace place = placeOf(field);
  std::string_view raw(bytes_.data() + place.offset, place.length);
  // A caller may hand the record over filled with zeros rather than blanks.
  std::size_t end = raw.find_last_not_of(std::string_view(" \0", 2));
  return end == std::string_view::npos ? std::string() : std::string(raw.substr(0, end + 1));
}

}  // namespace slownik::svc
