#include "framework/services/pesel.h"

#include <array>
#include <utility>

namespace slownik::svc {
namespace {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

int number(std::string_view digits, std::size_t at) { return (digits[at] - '0') * 10 + (digits[at + 1] - '0'); }

}  // namespace

bool PESELOK(std::string_view pesel) {
  std::size_t start = pesel.find_first_not_of(' ');
  std::size_t end = pesel.find_last_not_of(' ');
  if (start == std::string_view::npos) return false;
  pesel = pesel.substr(start, end - start + 1);
  if (pesel.size() != 11) return false;
  for (char c : pesel)
    if (c < '0' || c > '9') return false;

  static constexpr std::array<int, 10> kWeights{1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
  int sum = 0;
  for (std::size_t i = 0; i < kWeights.size(); ++i) sum += kWeights[i] * (pesel[i] - '0');
  if ((10 - sum % 10) % 10 != pesel[10] - '0') return false;

  int year = number(pesel, 0);
  int month = number(pesel, 2);
  int day = number(pesel, 4);
  // Each century shifts the month by its own offset; month 13–20 etc. encode nothing.
  static constexpr std::array<std::pair<int, int>, 5> kCenturies{{{80, 1800}, {0, 1900}, {20, 2000}, {40, 2100}, {60, 2200}}};
  for (const auto& [offset, century] : kCenturies) {
    int m = month - offset;
    if (m < 1 || m > 12) continue;
    return day >= 1 && day <= daysInMonth(century + year, m);
  }
  return false;
}

}  // namespace slownik::svc
