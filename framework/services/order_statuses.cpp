#include "framework/services/order_statuses.h"

#include <cstdlib>
#include <mutex>
#include <utility>

#include "framework/services/service_database.h"
#include "framework/sql/routines/order_status_list.h"

namespace slownik::svc {
namespace {

struct LoadedStatuses {
  std::mutex mutex;
  bool loaded = false;
  std::string version;  // WERSJA_LISTY.WERSJA when read ("" = never moved on)
  std::vector<OrderStatus> statuses;
};

LoadedStatuses& loadedStatuses() {
  static LoadedStatuses instance;
  return instance;
}

std::string clipRight(std::string text) {
  std::size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

// The version of the list in the database; false when it can't be read.
bool readVersion(std::string* version) {
  sql::Result r;
  if (!serviceExecute("SELECT WERSJA FROM WERSJA_LISTY WHERE NAZWA = ?",
                      {std::string(sql::kOrderStatusListName)}, &r))
    return false;
  *version = r.rows.empty() ? "" : r.text(0, 0);
  return true;
}

// Reads the list and its version; the list loaded before stays when either fails.
void load() {
  std::string version;
  if (!readVersion(&version)) return;
  sql::Result rows;
  if (!serviceExecute("SELECT ID_STATUSU, KOD_STATUSU, OPIS_STATUSU, AKTYWNY, AUTOMATYCZNY, SYSTEMOWY, ID_SZABLONU_SMS "
                      "FROM VEX_SLOWNIK_STATUSOW_DOKUMENTOW WHERE TYP_DOKUMENTU = 'Z' ORDER BY ID_STATUSU",
                      {}, &rows))
    return;
  std::vector<OrderStatus> statuses;
  for (std::size_t r = 0; r < rows.rows.size(); ++r) {
    OrderStatus s;
    s.id = std::atoll(rows.text(r, 0).c_str());
    s.code = clipRight(rows.text(r, 1));
    s.description = clipRight(rows.text(r, 2));
    s.active = std::atoi(rows.text(r, 3).c_str()) == 1;
    s.automatic = std::atoi(rows.text(r, 4).c_str()) == 1;
    s.system = std::atoi(rows.text(r, 5).c_str()) == 1;
    s.smsTemplate = std::atoll(rows.text(r, 6).c_str());
    statuses.push_back(std::move(s));
  }
  LoadedStatuses& loaded = loadedStatuses();
  std::lock_guard lock(loaded.mutex);
  loaded.statuses = std::move(statuses);
  loaded.version = std::move(version);
  loaded.loaded = true;
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

void INICJUJKOLEJKESTATUSOW(int reload) {
  if (reload == 1) {
    load();
    return;
  }
  LoadedStatuses& loaded = loadedStatuses();
  std::lock_guard lock(loaded.mutex);
  loaded.loaded = false;
}

std::vector<OrderStatus> orderStatuses() {
  LoadedStatuses& loaded = loadedStatuses();
  bool stale = false;
  {
    std::lock_guard lock(loaded.mutex);
    stale = !loaded.loaded;
  }
  std::string version;
  if (!stale && readVersion(&version)) {
    std::lock_guard lock(loaded.mutex);
    stale = version != loaded.version;
  }
  if (stale) load();
  std::lock_guard lock(loaded.mutex);
  return loaded.statuses;
}

std::optional<OrderStatus> orderStatus(std::string_view code) {
  for (auto& s : orderStatuses()) {
    if (s.code.size() != code.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < code.size() && same; ++i) same = upper(s.code[i]) == upper(code[i]);
    if (same) return s;
  }
  return std::nullopt;
}

}  // namespace slownik::svc
