#include "dictionaries/documents/article_price_list.h"

#include <string>

#include "engine/list_window.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/log.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

engine::ListDescriptor priceDescriptor() {
  engine::ListDescriptor d;
  d.module = 45;
  d.procedure = "WybierzCeneArtykulu_Slownik";
  d.table = "CENA_KATEGORII";
  d.helpPage = "kar_tow_ceny.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  d.sortOrders = {{"CENKAT:PK_CENA_KATEGORII", engine::LocatorKind::Step, "CENKAT:ID_CENY", ""}};
  d.columns = {"CEN:NAZWA", "CENART:CENA_NETTO", "CENART:CENA_BRUTTO"};
  d.headerSorter = true;
  d.insertButton = d.changeButton = d.deleteButton = false;
  return d;
}

class PriceChooser : public engine::ListWindow {
 public:
  PriceChooser(double categoryId, double articleId)
      : ListWindow(priceDescriptor()), categoryId_(categoryId), articleId_(articleId) {}

  void setRanges(data::ViewManager& view) override {
    view.addRange("CENKAT:ID_KATEGORII", static_cast<long long>(categoryId_));
    // The article's price of each type comes with the row; a type the article has no
    // price of leaves the CENA_ARTYKULU buffer cleared, so both prices show 0.
    join(view, "CENA", "CEN:ID_CENY = CENKAT:ID_CENY");
    join(view, "CENA_ARTYKULU", "CENART:ID_CENY = CENKAT:ID_CENY and CENART:ID_ARTYKULU = " + sql::sqlId(articleId_));
  }

 private:
  void join(data::ViewManager& view, const char* table, const std::string& condition) {
    const sql::TableDef* def = data::findTable(table);
    if (!def || view.addJoin(*def, condition) != 0)
      rt::logMessage(descriptor().procedure + ": no join of " + table + ": " + view.errorText());
  }

  double categoryId_;
  double articleId_;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void WYBIERZCENEARTYKULU_SLOWNIK(double categoryId) {
  using namespace slownik;
  documents::PriceChooser chooser(categoryId, data::field("ART:ID_ARTYKULU").number());
  chooser.run();
}
