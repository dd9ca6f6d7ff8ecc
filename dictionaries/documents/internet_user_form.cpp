#include "dictionaries/documents/internet_user_form.h"

#include <cstdlib>
#include <string>

#include "dictionaries/documents/internet_user_statements.h"
#include "dictionaries/documents/internet_user_window.h"
#include "engine/keyboard_navigator.h"
#include "framework/data/requests.h"
#include "framework/runtime/error_state.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

constexpr const char* kId = "?ID";
constexpr const char* kSurname = "?NAZWISKO";
constexpr const char* kFirstName = "?IMIE";
constexpr const char* kPassword = "?HASLO";
constexpr const char* kActive = "?AKTYWNY";
constexpr const char* kSave = "?OK";
constexpr const char* kCancel = "?CANCEL";

class InternetUserForm : public InternetUserWindow {
 public:
  InternetUserForm(double userId, double contractorId)
      : InternetUserWindow({"HASLO_INTER_0001_002", 46, "P1$FORMWINDOW", 0, 0, kSurname}, contractorId),
        userId_(userId) {}

  double savedId() const { return savedId_; }

  int init() override {
    if (!begin()) return data::kRequestCancelled;
    InternetUserValues values;
    if (userId_ <= 0 ? !create() : !read(&values)) return data::kRequestCancelled;
    addItem(kCancel, data::kRequestCancelled);
    if (!openWindow(false)) return data::kRequestCancelled;
    window()->setValue(kId, sql::sqlId(userId_));
    window()->setValue(kSurname, values.surname);
    window()->setValue(kFirstName, values.firstName);
    window()->setValue(kPassword, values.password);
    window()->setValue(kActive, values.active ? "1" : "0");
    if (created_) window()->setTitle("Dodawanie użytkownika internetowego");
    navigator_.start(sharedWindow());
    window()->select(kSurname);
    return 0;
  }

  int takeEvent(const rt::Event& e) override {
    if (navigator_.takeEvent(e)) return fw::kLevelNotify;
    return InternetUserWindow::takeEvent(e);
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control != kSave) return WindowManager::takeAccepted(e);
    save();
    return fw::kLevelNotify;
  }

  int kill() override {
    if (InternetUserWindow::kill()) return 1;
    navigator_.stop();
    if (created_ && savedId_ <= 0) {
      svc::EXECSQL(dropUnsavedInternetUserSql(userId_));
      if (rt::errorCode() != 0) internetUserWarning(rt::errorText());
    }
    return 0;
  }

 private:
  // A new user's row, made by the database's procedure; its id is the form's user.
  bool create() {
    svc::EXECSQL(addInternetUserSql(contractorId()));
    if (rt::errorCode() != 0) {
      internetUserWarning(rt::errorText());
      return false;
    }
    svc::ResultTable& added = svc::VAX();
    if (added.next()) userId_ = std::atof(added.field(1).c_str());
    added.close();
    if (userId_ <= 0) {
      internetUserWarning("Nie udało się dodać użytkownika internetowego!");
      return false;
    }
    created_ = true;
    return true;
  }

  // A user deleted since the list was read can't be edited: its save would change nothing
  // and still be reported as done.
  bool read(InternetUserValues* values) {
    svc::EXECSQL(readInternetUserSql(userId_));
    if (rt::errorCode() != 0) {
      internetUserWarning(rt::errorText());
      return false;
    }
    svc::ResultTable& found = svc::VAX();
    bool exists = found.next();
    if (exists) {
      values->password = found.field(2);  // blanks in a password are part of it
      values->active = std::atoi(found.field(3).c_str()) == 1;
      values->surname = clipped(found.field(4));
      values->firstName = clipped(found.field(5));
    }
    found.close();
    if (!exists) internetUserWarning("Użytkownik internetowy nie został znaleziony!");
    return exists;
  }

  void save() {
    InternetUserValues values;
    values.password = window()->value(kPassword);
    values.active = window()->value(kActive) == "1";
    values.surname = window()->value(kSurname);
    values.firstName = window()->value(kFirstName);
    svc::EXECSQL(saveInternetUserSql(userId_, values));
    if (rt::errorCode() != 0) {
      internetUserWarning(rt::errorText());
      window()->select(kSurname);
      return;
    }
    std::string stored =
        svc::FUNCSQL("select count(*) from int_uzytkownik where id_int_uzytkownik=" + sql::sqlId(userId_));
    if (rt::errorCode() == 0 && stored == "0") {
      // Deleted by someone else while the form was open: the update found nothing to store.
      internetUserWarning("Użytkownik internetowy został usunięty przez innego użytkownika!");
      post(data::kRequestCancelled);
      return;
    }
    savedId_ = userId_;
    post(data::kRequestCompleted);
  }

  double userId_;
  double savedId_ = 0;
  bool created_ = false;  // the row was made at opening and goes unless saved
  engine::KeyboardNavigator navigator_;
};

}  // namespace

double HASLO_INTER_0001_002(double userId, double contractorId) {
  InternetUserForm form(userId, contractorId);
  form.run();
  return form.savedId();
}

}  // namespace slownik::documents
