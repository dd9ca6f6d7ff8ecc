#include "dictionaries/documents/article_unit_change_window.h"

#include <optional>
#include <string>

#include "dictionaries/documents/article_unit_quantity.h"
#include "engine/record_form.h"
#include "engine/window_frame.h"
#include "framework/classes/window_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/picture.h"

namespace slownik::documents {
namespace {

constexpr int kModule = 44;
constexpr const char* kProcedure = "ZmianaIlosciJednostki";
constexpr const char* kHelpPage = "kar_towpom_miar.htm";
constexpr const char* kQuantity = "?ILOSC_J_WYB";
constexpr const char* kUnit = "?JEDNOSTKA_WYBRANA";
constexpr const char* kOtherQuantity = "?ILOSC_J_NOWEJ";
constexpr const char* kOtherUnit = "?JEDNOSTKA_NOWA";
constexpr const char* kConfirm = "?BUTTON1";
constexpr const char* kCancel = "?CANCEL";

class QuantityChangeWindow : public fw::WindowManager {
 public:
  QuantityChangeWindow(double quantity, double baseQuantity, double factor, std::string unitSymbol)
      : change_(quantity, baseQuantity, factor, data::field("JED:PRZELICZNIK").number()),
        unitSymbol_(std::move(unitSymbol)) {}

  double result() const { return change_.quantity().toDouble(); }

  int init() override {
    frame_.nameProcedure(kProcedure);
    if (int rc = WindowManager::init()) return rc;
    data::GLOBALREQUEST() = data::kNoRequest;
    data::GLOBALRESPONSE() = data::kNoResponse;
    addItem(kCancel, data::kRequestCancelled);
    if (frame_.open(*this, kModule, "P1$WINDOW", 0, 0) != 0) return data::kRequestCancelled;
    frame_.applyTheme({});
    frame_.restorePosition();
    frame_.registerTooltips();
    frame_.reserveKeys();
    setAlerts();
    window()->setValue(kUnit, unitSymbol_);
    window()->setValue(kOtherUnit, data::field("JED:SKROT").text());
    show();
    frame_.startHelp(kHelpPage);
    frame_.startHighlighter();
    window()->select(kQuantity);
    return 0;
  }

  int kill() override {
    if (WindowManager::kill()) return 1;
    frame_.leave();
    frame_.release();
    return 0;
  }

  int takeEvent(const rt::Event& e) override {
    if (frame_.takeEventFirst(e)) return fw::kLevelNotify;
    return WindowManager::takeEvent(e);
  }

  int takeWindowEvent(const rt::Event& e) override {
    frame_.takeWindowEvent(e, kQuantity);
    return WindowManager::takeWindowEvent(e);
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kQuantity) {
      if (auto typed = read(kQuantity)) change_.takeQuantity(*typed);
      show();
      return fw::kLevelNotify;
    }
    if (e.control == kOtherQuantity) {
      if (auto typed = read(kOtherQuantity)) change_.takeOtherQuantity(*typed);
      show();
      return fw::kLevelNotify;
    }
    if (e.control == kConfirm) {
      post(data::kRequestCompleted);
      return fw::kLevelNotify;
    }
    return WindowManager::takeAccepted(e);
  }

 private:
  // The typed text as its picture reads it; empty when it can't be read (the line then
  // shows its value again).
  std::optional<rt::Decimal> read(const char* control) const {
    auto c = window()->control(control);
    if (!c) return std::nullopt;
    auto picture = rt::Picture::fromString(c->picture);
    std::string stored;
    if (!picture || !picture->parse(engine::trimmed(c->value), &stored)) return std::nullopt;
    return rt::Decimal::parse(stored);
  }

  void showQuantity(const char* control, const rt::Decimal& value) {
    auto c = window()->control(control);
    if (!c) return;
    auto picture = rt::Picture::fromString(c->picture);
    window()->setValue(control, picture ? engine::trimmed(picture->format(value)) : value.toString());
  }

  void show() {
    showQuantity(kQuantity, change_.quantity());
    showQuantity(kOtherQuantity, change_.otherQuantity());
  }

  QuantityChange change_;
  std::string unitSymbol_;
  engine::WindowFrame frame_;
};

}  // namespace

double ZMIANAILOSCIJEDNOSTKI(double quantity, double baseQuantity, double factor, std::string_view unitSymbol) {
  QuantityChangeWindow window(quantity, baseQuantity, factor, std::string(unitSymbol));
  window.run();
  return window.result();
}

}  // namespace slownik::documents
