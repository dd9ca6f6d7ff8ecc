#include "dictionaries/documents/internet_user_window.h"

#include <utility>

#include "dictionaries/documents/internet_user_statements.h"
#include "framework/data/requests.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"

namespace slownik::documents {
namespace {

constexpr const char* kHelpPage = "kar_kontr.htm";
constexpr const char* kContractorName = "?NAZWA";
constexpr const char* kList = "?LIST";

}  // namespace

std::string clipped(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

void internetUserWarning(std::string_view text) {
  rt::messageBox("TRAMEL:Ostrzeżenie", std::string(text), rt::MessageIcon::Warning, rt::button::Ok);
}

InternetUserWindow::InternetUserWindow(Layout layout, double contractorId)
    : layout_(std::move(layout)), contractorId_(contractorId) {}

bool InternetUserWindow::begin() {
  frame_.nameProcedure(layout_.procedure);
  WindowManager::init();
  data::GLOBALREQUEST() = data::kNoRequest;
  data::GLOBALRESPONSE() = data::kNoResponse;

  svc::EXECSQL(contractorNameSql(contractorId_));
  if (rt::errorCode() != 0) {
    internetUserWarning(rt::errorText());
    return false;
  }
  svc::ResultTable& found = svc::VAX();
  bool exists = found.next();
  if (exists) contractorName_ = clipped(found.field(1));
  found.close();
  if (!exists) internetUserWarning("Kontrahent nie został znaleziony!");
  return exists;
}

bool InternetUserWindow::openWindow(bool hasList) {
  if (frame_.open(*this, layout_.module, layout_.windowType, layout_.minWidth, layout_.minHeight) != 0) return false;
  frame_.applyTheme(hasList ? kList : "");
  frame_.restorePosition();
  frame_.registerTooltips();
  frame_.reserveKeys();
  window()->setText(kContractorName, contractorName_);
  frame_.startHelp(kHelpPage);
  frame_.startHighlighter();
  return true;
}

int InternetUserWindow::takeEvent(const rt::Event& e) {
  if (frame_.takeEventFirst(e)) return fw::kLevelNotify;
  return WindowManager::takeEvent(e);
}

int InternetUserWindow::takeWindowEvent(const rt::Event& e) {
  frame_.takeWindowEvent(e, layout_.focusControl);
  return WindowManager::takeWindowEvent(e);
}

int InternetUserWindow::kill() {
  if (WindowManager::kill()) return 1;
  frame_.leave();
  frame_.release();
  return 0;
}

}  // namespace slownik::documents
