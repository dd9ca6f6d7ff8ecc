#include "sms/template_list.h"

#include <string>

#include "engine/list_window.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "sms/template_form.h"

namespace slownik::sms {
namespace {

// Templates made by this program; other programs keep theirs in the same table.
constexpr int kProgramCode = 3;

engine::ListDescriptor templateList() {
  engine::ListDescriptor d;
  d.module = 75;
  d.procedure = "SMS_Szablon_brw";
  d.table = "SMS_SZABLON";
  d.helpPage = "sms.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.companyField = "SMSSZ:ID_FIRMY";
  d.sortOrders = {{"SMSSZ:POD_NAZWIE", engine::LocatorKind::Incremental, "SMSSZ:NAZWA", "?LOKATOR"}};
  d.columns = {"SMSSZ:NAZWA", "SMSSZ:TRESC_WIADOMOSCI", "SMSSZ:ID_SMS_SZABLONU"};
  d.form = SMS_SZABLON_UPD;
  return d;
}

class TemplateList : public engine::ListWindow {
 public:
  explicit TemplateList(std::string context) : ListWindow(templateList()), context_(std::move(context)) {}

  void setRanges(data::ViewManager& view) override {
    view.bindValue("fkontekst", [this] { return sql::Param(context_); });
    view.setFilter("(SMSSZ:KONTEKST=fkontekst and SMSSZ:PRGKOD=" + std::to_string(kProgramCode) + ")");
  }

  using ListWindow::run;
  int run(int number, int request) override {
    // A new template belongs to the context the list shows, or it would vanish from it.
    if (request == data::kInsertRecord) {
      data::field("SMSSZ:NAZWA").set("");
      data::field("SMSSZ:KONTEKST").set(context_);
      data::field("SMSSZ:PRGKOD").set(kProgramCode);
    }
    return ListWindow::run(number, request);
  }

 private:
  std::string context_;
};

}  // namespace
}  // namespace slownik::sms

extern "C" void SMS_SZABLON_BRW(const char* context) {
  slownik::sms::TemplateList list(context ? context : "");
  list.run();
}
