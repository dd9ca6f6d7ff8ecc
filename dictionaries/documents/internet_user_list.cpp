#include "dictionaries/documents/internet_user_list.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "dictionaries/documents/internet_user_form.h"
#include "dictionaries/documents/internet_user_statements.h"
#include "dictionaries/documents/internet_user_window.h"
#include "framework/data/requests.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/keys.h"
#include "framework/services/messages.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kInsert = "?INSERT";
constexpr const char* kChange = "?CHANGE";
constexpr const char* kDelete = "?DELETE";
constexpr const char* kClose = "?CLOSE";
constexpr const char* kActiveIcon = "~32redchk.ico";

class InternetUserList : public InternetUserWindow {
 public:
  explicit InternetUserList(double contractorId)
      : InternetUserWindow({"HASLO_INTER_0001_002_brw", 49, "P1$BROWSEWINDOW", 240, 130, kList}, contractorId) {}

  int init() override {
    if (!begin()) return data::kRequestCancelled;
    addItem(kClose, data::kRequestCompleted);
    if (!openWindow(true)) return data::kRequestCancelled;
    window()->setIconList(kList, {kActiveIcon});
    fill();
    return 0;
  }

  void setAlerts() override {
    WindowManager::setAlerts();
    if (window()) window()->alert(rt::key::F5);
  }

  int takeEvent(const rt::Event& e) override {
    if (e.code == rt::event::AlertKey && e.keyCode == rt::key::F5) {
      fill(currentUser());
      return fw::kLevelNotify;
    }
    return InternetUserWindow::takeEvent(e);
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kInsert) {
      edit(0);
    } else if (e.control == kChange) {
      if (double user = currentUser(); user > 0) edit(user);
    } else if (e.control == kDelete) {
      remove();
    } else {
      return WindowManager::takeAccepted(e);
    }
    window()->select(kList);
    return fw::kLevelNotify;
  }

 private:
  // One list row: the list-buffer fields surname, icon number, first name, and the id.
  struct Row {
    std::string surname;
    bool active = false;
    std::string firstName;
    double id = 0;
  };

  // Reads the contractor's users again and puts the cursor on `positionOn` when it is
  // listed, else on the first row. A failed read keeps what is shown.
  void fill(double positionOn = 0) {
    svc::EXECSQL(internetUsersSql(contractorId()));
    if (rt::errorCode() != 0) {
      internetUserWarning(rt::errorText());
      return;
    }
    std::vector<Row> rows;
    svc::ResultTable& found = svc::VAX();
    while (found.next())
      rows.push_back({clipped(found.field(1)), std::atoi(found.field(4).c_str()) == 1, clipped(found.field(2)),
                      std::atof(found.field(3).c_str())});
    found.close();
    rows_ = std::move(rows);
    int selection = rows_.empty() ? 0 : 1;
    for (std::size_t i = 0; i < rows_.size(); ++i)
      if (positionOn > 0 && rows_[i].id == positionOn) selection = static_cast<int>(i) + 1;
    show(selection);
  }

  void show(int selection) {
    std::vector<std::vector<std::string>> shown;
    shown.reserve(rows_.size());
    for (const Row& r : rows_) shown.push_back({r.surname, r.active ? "1" : "0", r.firstName, sql::sqlId(r.id)});
    window()->setRows(kList, std::move(shown));
    window()->setSelection(kList, selection);
  }

  int currentIndex() const {
    auto list = window()->control(kList);
    int selection = list ? list->selection : 0;
    return selection >= 1 && selection <= static_cast<int>(rows_.size()) ? selection - 1 : -1;
  }

  double currentUser() const {
    int i = currentIndex();
    return i < 0 ? 0 : rows_[static_cast<std::size_t>(i)].id;
  }

  void edit(double user) {
    double saved = HASLO_INTER_0001_002(user, contractorId());
    if (saved > 0) fill(saved);
  }

  void remove() {
    int i = currentIndex();
    if (i < 0) return;
    if (svc::questionBox("Czy usunąć użytkownika internetowego?", rt::button::No) != rt::button::Yes) return;
    svc::EXECSQL(deleteInternetUserSql(rows_[static_cast<std::size_t>(i)].id));
    if (rt::errorCode() != 0) {
      internetUserWarning(rt::errorText());
      return;
    }
    rows_.erase(rows_.begin() + i);
    show(rows_.empty() ? 0 : std::min(i + 1, static_cast<int>(rows_.size())));
  }

  std::vector<Row> rows_;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void HASLO_INTER_0001_002_BRW(double contractorId) {
  slownik::documents::InternetUserList list(contractorId);
  list.run();
}
