#include "framework/classes/list_queue.h"

namespace slownik::fw {

std::string& ListRow::field(int number) {
  if (number < 1) number = 1;
  if (fields.size() < static_cast<std::size_t>(number)) fields.resize(static_cast<std::size_t>(number));
  return fields[static_cast<std::size_t>(number - 1)];
}

const std::string& ListRow::field(int number) const {
  static const std::string empty;
  if (number < 1 || static_cast<std::size_t>(number) > fields.size()) return empty;
  return fields[static_cast<std::size_t>(number - 1)];
}

}  // namespace slownik::fw
