#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace slownik::svc {

//! The fields of the registry lookup's reply record, in record order.
enum class GusField { Status, Regon, Nip, Name, Province, Town, Street, Postcode, County, Country, Email, Phone };

//! Where a field lies in the record, in bytes.
struct GusFieldPlace {
  std::size_t offset;
  std::size_t length;
};
GusFieldPlace placeOf(GusField field);

//! The 1430-byte record through which the registry lookup hands its answer to the
//! caller: fixed-width text fields padded with blanks. The texts are UTF-8; a text
//! longer than its field is cut at the field's width in bytes, never inside a
//! character, so every field reads back as valid UTF-8.
class GusReplyRecord {
 public:
  static constexpr std::size_t kSize = 1430;

  GusReplyRecord() { clear(); }
  //! Every field blank.
  void clear() { bytes_.fill(' '); }

  void set(GusField field, std::string_view text);
  //! The field's text without the padding blanks at its end.
  std::string text(GusField field) const;

  char* data() { return bytes_.data(); }
  const char* data() const { return bytes_.data(); }

 private:
  std::array<char, kSize> bytes_;
};

//! The longest start of UTF-8 `text` that fits in `maxBytes` without cutting a
//! character in two.
std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes);

}  // namespace slownik::svc
