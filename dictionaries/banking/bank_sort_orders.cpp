#include "dictionaries/banking/bank_sort_orders.h"

#include <vector>

#include "engine/list_window.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

const std::vector<std::string_view> kNames = {"numer", "nazwa", "SWIFT", "kod", "miejscowość"};

}  // namespace

int bankSortNumber(std::string_view name) { return engine::sortNumber(name, kNames, 1); }

std::string bankSortName(int order) {
  return std::string(order >= 1 && order <= kBankSortOrders ? kNames[static_cast<std::size_t>(order - 1)] : kNames[0]);
}

bool isDescending(std::string_view direction) { return direction == kDescending; }

std::string toggledDirection(std::string_view direction) { return direction == kAscending ? kDescending : kAscending; }

std::string directionIcon(std::string_view direction) {
  return isDescending(direction) ? "~malejaco.ico" : "~rosnaco.ico";
}

std::string directedOrder(std::string_view orderText, bool descending) {
  std::string text(orderText);
  std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return text;
  // A component without a sign is ascending; the sign goes in front of it.
  if (text[start] == '+' || text[start] == '-') {
    text[start] = descending ? '-' : '+';
  } else {
    text.insert(start, descending ? "-" : "+");
  }
  return text;
}

bool isHeaderSortable(std::string_view field) {
  for (const char* keyed : {"BAN:NAZWA", "BAN:NUMER_BANKU", "BAN:SWIFT", "BAN:KOD_POCZTOWY", "BAN:MIEJSCOWOSC"})
    if (sql::equalsIgnoreCase(field, keyed)) return false;
  return true;
}

}  // namespace slownik::banking
