#include "framework/services/numbering_formats.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>

#include "framework/data/globals.h"
#include "framework/services/service_database.h"

namespace slownik::svc {
namespace {

using Key = std::pair<int, long long>;  // family, type

struct LoadedFormats {
  std::mutex mutex;
  bool loaded = false;
  long long company = 0;
  std::map<Key, NumberingFormat> formats;
};

LoadedFormats& loadedFormats() {
  static LoadedFormats instance;
  return instance;
}

std::string clipRight(std::string text) {
  std::size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

}  // namespace

void LADUJFORMATYNUMERACJI() {
  const long long company = static_cast<long long>(data::glo().ID_FIRMY.get());
  sql::Result rows;
  // Only the definitions (every warehouse, every year); the running numbers of single
  // warehouses and years are the documents' business.
  if (sql::Status s = serviceExecute("SELECT DOKUMENT, TYP_DOKUMENTU, SYGNATURA, FORMAT, PRZYCHOD FROM NUMERACJA "
                                     "WHERE ID_FIRMY = ? AND ID_MAGAZYNU = 0 AND ROK = 0",
                                     {company}, &rows);
      !s)
    return;
  std::map<Key, NumberingFormat> formats;
  for (std::size_t r = 0; r < rows.rows.size(); ++r) {
    NumberingFormat f;
    f.family = std::atoi(rows.text(r, 0).c_str());
    f.type = std::atoll(rows.text(r, 1).c_str());
    f.signature = clipRight(rows.text(r, 2));
    f.format = clipRight(rows.text(r, 3));
    f.receipt = std::atoi(rows.text(r, 4).c_str()) != 0;
    formats[{f.family, f.type}] = std::move(f);
  }
  LoadedFormats& loaded = loadedFormats();
  std::lock_guard lock(loaded.mutex);
  loaded.formats = std::move(formats);
  loaded.company = company;
  loaded.loaded = true;
}

std::optional<NumberingFormat> numberingFormat(int family, long long type) {
  LoadedFormats& loaded = loadedFormats();
  std::lock_guard lock(loaded.mutex);
  if (!loaded.loaded || loaded.company != static_cast<long long>(data::glo().ID_FIRMY.get())) return std::nullopt;
  auto it = loaded.formats.find({family, type});
  if (it == loaded.formats.end()) return std::nullopt;
  return it->second;
}

std::string documentNumber(std::string_view format, std::string_view signature, long long number, int year) {
  static const std::pair<std::string_view, int> kPlaceholders[] = {{"{SYGNATURA}", 0}, {"{NUMER}", 1}, {"{ROK}", 2}};
  std::string out;
  std::size_t i = 0;
  while (i < format.size()) {
    bool replaced = false;
    for (const auto& [name, which] : kPlaceholders) {
      if (format.substr(i, name.size()) != name) continue;
      out += which == 0 ? std::string(signature) : std::to_string(which == 1 ? number : year);
      i += name.size();
      replaced = true;
      break;
    }
    if (!replaced) out += format[i++];
  }
  return out;
}

}  // namespace slownik::svc
