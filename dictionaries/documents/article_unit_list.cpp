#include "dictionaries/documents/article_unit_list.h"

#include <string>
#include <utility>

#include "dictionaries/documents/article_unit_change_window.h"
#include "dictionaries/documents/article_unit_quantity.h"
#include "engine/list_window.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/services/messages.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kPositionText = "?WYBRANAJEDNOSTKA";
constexpr const char* kConvertButton = "?BUTTON4";
constexpr const char* kChangeButton = "?BUTTON3";
constexpr std::size_t kPositionTextWidth = 50;
// The list has no icon or colour fields: the k-th column shows list-buffer field k.
constexpr int kQuantityField = 4;

engine::ListDescriptor unitDescriptor() {
  engine::ListDescriptor d;
  d.module = 43;
  d.procedure = "WybierzJednostkeArtykulu";
  d.table = "JEDNOSTKA";
  d.helpPage = "kar_towpom_miar.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  d.sortOrders = {{"JED:JEDNOSTKA_IDFIR_SKROT", engine::LocatorKind::Step, "JED:SKROT", ""}};
  d.companyField = "JED:ID_FIRMY";
  d.columns = {"JED:SKROT", "JED:NAZWA", "JED:PRZELICZNIK", "ilosc"};
  d.headerSorter = true;
  d.insertButton = d.changeButton = d.deleteButton = false;
  return d;
}

struct Position {
  double articleId;
  double baseUnitId;
  double baseQuantity;
  double quantity;
  double factor;
  std::string unitSymbol;
};

class UnitChooser : public engine::ListWindow {
 public:
  explicit UnitChooser(Position position)
      : ListWindow(unitDescriptor()), position_(std::move(position)), working_(positionQuantity(position_.quantity)) {}

  //! The quantity for the position in the unit left in the buffer.
  double result() const { return working_.toDouble(); }

  void setRanges(data::ViewManager& view) override {
    const double articleId = position_.articleId;
    const double baseUnitId = position_.baseUnitId;
    view.bindValue(
        "id_artykulu", [articleId] { return sql::Param(articleId); }, sql::ColumnType::Real);
    view.bindValue(
        "art_id_jednostki", [baseUnitId] { return sql::Param(baseUnitId); }, sql::ColumnType::Real);
    bindQuantity(view);
    view.setSqlFilter("+A.ID_ARTYKULU=" + sql::sqlId(articleId) + " or a.id_jednostki=" + sql::sqlId(baseUnitId));
  }

  int opened() override {
    showPosition();
    return 0;
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow&) override {
    // Worked out here as the choice will work it out, so that the list shows what
    // "Wybierz jednostkę i ilość" gives; the view's "ilosc" serves filters and sorting.
    auto inUnit = quantityInUnit(position_.baseQuantity, data::field("JED:PRZELICZNIK").number());
    row.field(kQuantityField) = inUnit ? inUnit->toString() : std::string();
  }

  int takeEvent(const rt::Event& e) override {
    // The list keeps F2 for a form's change; this list has none, so F2 there means "Zmiana".
    if (e.code == rt::event::AlertKey && e.keyCode == rt::key::F2 && e.control == kList) {
      changeQuantity();
      window()->select(kList);
      return fw::kLevelNotify;
    }
    return ListWindow::takeEvent(e);
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kConvertButton) {
      chooseConverted();
      return fw::kLevelNotify;
    }
    if (e.control == kChangeButton) {
      changeQuantity();
      window()->select(kList);
      return fw::kLevelNotify;
    }
    // "&Wybierz" keeps the number as typed: the working quantity is the position's
    // quantity until a converting choice, which closes the window at once.
    return ListWindow::takeAccepted(e);
  }

  void closeActions() override {
    if (!isOpened()) return;
    if (response() != data::kRequestCompleted) {
      // Closed without a choice: the highlighted unit is the one the cut follows.
      const fw::ListRow* row = browse().selectedRow();
      if (!row) return;
      view().load(row->source);
    }
    if (data::field("JED:PODZIELNA").integer() != 0 || !hasFraction(working_)) return;
    working_ = wholeQuantity(working_);
    svc::MSG_OSTRZEZENIE("Wybrana jednostka jest niepodzielna!|W wyniku zaokrąglenia wzięto " + quantityText(working_) +
                         " jednostek artykułu.");
  }

 private:
  // The per-row quantity as the view computes it, for filter and sort expressions. A unit
  // without a factor gives no quantity rather than a division error.
  void bindQuantity(data::ViewManager& view) const {
    std::string base = rt::Decimal::fromDouble(position_.baseQuantity, 6).value_or(rt::Decimal(0, 6)).toString();
    if (base.find('.') == std::string::npos) base += ".0";  // never integer division
    view.bindExpression("ilosc", base + " / NULLIF(JED:PRZELICZNIK, 0)", sql::ColumnType::Real);
  }

  void showPosition() {
    std::string text =
        "Ilość na pozycji: " + quantityText(positionQuantity(position_.quantity)) + " " + position_.unitSymbol;
    window()->setText(kPositionText, sql::truncateUtf8(text, kPositionTextWidth));
  }

  //! The highlighted unit into the JEDNOSTKA buffer; false when there is none (or it is
  //! gone from the database: the list is read again).
  bool loadHighlighted() {
    const fw::ListRow* row = browse().selectedRow();
    if (!row) return false;
    if (view().fetch(row->position()) != 0) {
      reload();
      return false;
    }
    return true;
  }

  //! The factor of the unit in the buffer, or a warning when it has none to convert by.
  bool hasFactor() const {
    if (data::field("JED:PRZELICZNIK").number() != 0) return true;
    warn("Jednostka " + data::field("JED:SKROT").text() + " nie ma przelicznika!|Nie można przeliczyć ilości.");
    return false;
  }

  void chooseConverted() {
    if (!loadHighlighted() || !hasFactor()) return;
    auto inUnit = quantityInUnit(position_.baseQuantity, data::field("JED:PRZELICZNIK").number());
    if (!inUnit) return;
    working_ = *inUnit;
    post(data::kRequestCompleted);
  }

  void changeQuantity() {
    if (!loadHighlighted() || !hasFactor()) return;
    if (position_.factor == 0) {
      warn("Jednostka " + position_.unitSymbol + " nie ma przelicznika!|Nie można przeliczyć ilości.");
      return;
    }
    double changed =
        ZMIANAILOSCIJEDNOSTKI(position_.quantity, position_.baseQuantity, position_.factor, position_.unitSymbol);
    if (data::GLOBALRESPONSE() != data::kRequestCompleted) return;
    working_ = positionQuantity(changed);
    position_.quantity = changed;
    position_.baseQuantity = changed * position_.factor;
    showPosition();
    bindQuantity(view());
    reload();
  }

  Position position_;
  rt::Decimal working_;
};

}  // namespace
}  // namespace slownik::documents

extern "C" double WYBIERZJEDNOSTKEARTYKULU(double articleId, double baseUnitId, double baseQuantity, double quantity,
                                           double factor, const char* unitSymbol) {
  using namespace slownik;
  documents::UnitChooser chooser(
      {articleId, baseUnitId, baseQuantity, quantity, factor, unitSymbol ? std::string(unitSymbol) : std::string()});
  chooser.run();
  return chooser.result();
}
