#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/runtime/date_time.h"
#include "framework/runtime/decimal.h"

namespace slownik::rt {

//! A display and entry picture: how a field's value is shown and how typed text is read.
//!
//! Values travel as their stored text, the same text the record buffer and the database
//! hold: a number as canonical decimal text ("-1234.50"), a date as its day number ("82525",
//! "0" = none), a time as its time value, a string as itself.
//!
//! Forms (the leading '@' may be left out, letters are case-insensitive except d/D):
//!  - `@s20` text of 20 characters.
//!  - `@n[-][~prefix~][_]width[g][s decimals][-][~suffix~]`: a number `width` characters wide
//!    (sign, digits, separators; the literal prefix and suffix come on top), right-aligned.
//!    `-` before the width: a leading minus, after the decimals: a trailing minus; without
//!    either the field takes no negative input. `_` (before or right after the width) turns
//!    grouping off; otherwise thousands are grouped with a blank, as Polish writes them.
//!    The decimal separator is `.` for a point or `` ` `` for a comma; two separator marks
//!    in a row give the grouping mark first (`.` point, `` ` `` comma) and then the decimal
//!    separator. "N12_" and "n15_" are the entry pictures of plain integers.
//!  - `@d17` and `@D17`: the short date "dd.mm.yyyy", blank for no date. Both show the same;
//!    they differ in how a typed two-digit year is completed: `@d17` serves document and
//!    validity dates (up to 19 years ahead), `@D17` birth dates (never in the future).
//!  - `@t1` "hh:mm", `@t2` "hhmm", `@t4` "hh:mm:ss", `@t5` "hhmmss", `@t7` the short time
//!    "hh:mm", `@t8` the long time "hh:mm:ss"; blank for no time.
//!  - `@e12.4`: a number in exponent form (display of technical values only).
//!  - `K##-###K`: key-in picture between two K letters. `#` a digit, `<` a letter made upper
//!    case, `>` a letter made lower case, `?` any character, `\` makes the next character
//!    literal; every other character is literal and is filled in when not typed. The stored
//!    value includes the literals ("00-950").
//! A number that does not fit its width shows as '#' over the whole width.
class Picture {
 public:
  enum class Kind { String, Number, Date, Time, Exponent, KeyIn };

  Picture() = default;  // an `@s255`-like text picture of unlimited width

  //! Empty with a Polish error text when the picture can't be read.
  static std::optional<Picture> fromString(std::string_view picture, std::string* error = nullptr);

  //! The stored value as shown. A value the picture can't read is shown unchanged.
  std::string format(std::string_view storedValue) const;
  std::string format(const Decimal& value) const;

  //! Reads typed text into the stored value; false (value untouched) when the text can't
  //! be read: letters in a number, an impossible date, a number too wide for the picture,
  //! a minus where the picture takes none, a key-in text that doesn't fit the mask.
  //! Empty text clears the field: "" for text, "0" for numbers, dates and times.
  bool parse(std::string_view text, std::string* value) const;
  //! As parse(), with the day that supplies a missing year (tests pin it).
  bool parse(std::string_view text, std::string* value, std::int32_t referenceDay) const;

  Kind kind() const { return kind_; }
  bool isNumeric() const { return kind_ == Kind::Number || kind_ == Kind::Exponent; }
  const std::string& text() const { return text_; }
  //! Characters of the value itself (0 = unlimited text).
  int width() const { return width_; }
  int decimals() const { return decimals_; }
  bool isSigned() const { return leadingSign_ || trailingSign_; }
  bool hasGrouping() const { return grouping_ != 0; }
  char decimalSeparator() const { return decimalSeparator_; }
  const std::string& prefix() const { return prefix_; }
  const std::string& suffix() const { return suffix_; }
  const std::string& mask() const { return mask_; }
  //! For dates: whether a typed two-digit year is read as a past year.
  TwoDigitYears twoDigitYears() const { return twoDigitYears_; }

 private:
  //! Reads the number form after the type letter ("-9.2", "12_`6~ %~").
  bool readNumberForm(std::string_view form, std::string* why);
  std::string formatNumber(const Decimal& value) const;
  std::string formatKeyIn(std::string_view value) const;
  bool parseNumber(std::string_view text, std::string* value) const;
  bool parseKeyIn(std::string_view text, std::string* value) const;

  Kind kind_ = Kind::String;
  std::string text_;
  int width_ = 0;
  int decimals_ = 0;
  bool leadingSign_ = false;
  bool trailingSign_ = false;
  char grouping_ = ' ';
  char decimalSeparator_ = '.';
  std::string prefix_;
  std::string suffix_;
  std::string mask_;
  int timeForm_ = 0;
  TwoDigitYears twoDigitYears_ = TwoDigitYears::NearFuture;
};

}  // namespace slownik::rt
