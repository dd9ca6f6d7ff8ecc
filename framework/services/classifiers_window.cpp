// The windows of the classifiers: the values of a record or of a filter ("Pola
// dodatkowe") and the administrator's definitions ("Definicje pól dodatkowych").
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/event.h"
#include "framework/runtime/window.h"
#include "framework/services/classifiers.h"
#include "framework/services/help_viewer.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"

namespace slownik::svc {
namespace {

constexpr const char* kOk = "?OK";
constexpr const char* kCancel = "?CANCEL";
constexpr const char* kDefinitions = "?DEFINICJE";
constexpr const char* kClear = "?CZYSC";
constexpr const char* kList = "?LIST";
constexpr const char* kName = "?NAZWA";
constexpr const char* kRequired = "?WYMAGANY";
constexpr const char* kListOnly = "?TYLKO_Z_LISTY";
constexpr const char* kValues = "?WARTOSCI";
constexpr int kOpen = -1;
constexpr const char* kHelpPage = "pola_dodatkowe.htm";

std::string valueControl(int number) { return "?KLAS" + std::to_string(number); }

bool isAdministrator() { return data::glo().ID_UZYTKOWNIKA.get() == kAdminUserId; }

bool anyDefined(const std::vector<ClassifierDefinition>& defs) {
  for (const auto& d : defs)
    if (d.isDefined()) return true;
  return false;
}

class ValuesWindow {
 public:
  ValuesWindow(std::string_view kind, int request)
      : kind_(kind), request_(request), filterUse_(request == kClassifierFilterUse) {}

  int run() {
    defs_ = classifierDefinitions(kind_);
    if (!anyDefined(defs_) && !isAdministrator()) {
      MSG_OSTRZEZENIE("Nie zdefiniowano pól dodatkowych dla: " + kind_ + ".|Definicje ustala administrator systemu.");
      return data::kRequestCancelled;
    }
    std::string error;
    window_ = rt::Window::open("slownik$klasyfikatory", "P1$WINDOW", &error);
    if (!window_) {
      MSG_OSTRZEZENIE("Nie można otworzyć okna pól dodatkowych: " + error);
      return data::kRequestCancelled;
    }
    help_.init(window_, moduleHelpFile());
    help_.setTopic(kHelpPage);
    values_ = filterUse_ ? classifierFilter(kind_) : classifierValues(kind_);
    window_->setTitle(filterUse_ ? "Pola dodatkowe - filtr" : "Pola dodatkowe");
    window_->hide(kDefinitions, !isAdministrator() || request_ == data::kViewRecord);
    window_->hide(kClear, !filterUse_);
    if (request_ == data::kViewRecord) window_->hide(kOk);
    show();
    int result = kOpen;
    while (result == kOpen) {
      rt::Event e = window_->nextEvent();
      if (!help_.takeEvent(e)) result = take(e);
    }
    help_.kill();
    window_->close();
    return result;
  }

 private:
  void show() {
    for (const auto& d : defs_) {
      const std::string control = valueControl(d.number);
      window_->hide(control + ":WIERSZ", !d.isDefined());
      window_->setText(control + ":PROMPT", d.name + (d.required && !filterUse_ ? " *" : ""));
      window_->setItems(control, d.values);
      window_->setValue(control, values_[d.number - 1]);
      window_->enable(control, request_ != data::kViewRecord);
    }
  }

  void readControls() {
    for (const auto& d : defs_)
      if (d.isDefined()) values_[d.number - 1] = window_->value(valueControl(d.number));
  }

  int take(const rt::Event& e) {
    if (e.code == rt::event::CloseWindow) return data::kRequestCancelled;
    if (e.code != rt::event::Accepted) return kOpen;
    if (e.control == kCancel) return data::kRequestCancelled;
    if (e.control == kClear) {
      values_ = {};
      show();
      return kOpen;
    }
    if (e.control == kDefinitions) {
      readControls();
      if (KLASYFIKATORY_DEFINICJE(kind_) == 1) {
        defs_ = classifierDefinitions(kind_);
        show();
      }
      return kOpen;
    }
    if (e.control != kOk) return kOpen;
    if (request_ == data::kViewRecord) return data::kRequestCancelled;
    readControls();
    std::string problem = classifierProblem(defs_, values_, !filterUse_);
    if (!problem.empty()) {
      MSG_OSTRZEZENIE(problem);
      return kOpen;
    }
    if (filterUse_) {
      setClassifierFilter(kind_, values_);
    } else {
      for (int n = 1; n <= kClassifierCount; ++n) setClassifierValue(kind_, n, values_[n - 1]);
    }
    return data::kRequestCompleted;
  }

  std::string kind_;
  int request_;
  bool filterUse_;
  std::vector<ClassifierDefinition> defs_;
  ClassifierValues values_;
  std::shared_ptr<rt::Window> window_;
  HelpViewer help_;
};

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    line = line.substr(first, line.find_last_not_of(' ') - first + 1);
    bool seen = false;
    for (const auto& l : lines) seen = seen || l == line;
    if (!seen) lines.push_back(line);
  }
  return lines;
}

class DefinitionsWindow {
 public:
  explicit DefinitionsWindow(std::string_view kind) : kind_(kind) {}

  int run() {
    defs_ = classifierDefinitions(kind_);
    if (rt::errorCode() != 0) {
      MSG_OSTRZEZENIE(rt::errorText());
      return 0;
    }
    std::string error;
    window_ = rt::Window::open("slownik$klasyfikatory_def", "P1$WINDOW", &error);
    if (!window_) {
      MSG_OSTRZEZENIE("Nie można otworzyć okna definicji pól dodatkowych: " + error);
      return 0;
    }
    window_->setTitle("Definicje pól dodatkowych: " + kind_);
    help_.init(window_, moduleHelpFile());
    help_.setTopic(std::string(kHelpPage) + "#definicje");
    showRows();
    window_->setSelection(kList, 1);
    showCurrent();
    int result = kOpen;
    while (result == kOpen) {
      rt::Event e = window_->nextEvent();
      if (!help_.takeEvent(e)) result = take(e);
    }
    help_.kill();
    window_->close();
    return result;
  }

 private:
  ClassifierDefinition* current() {
    auto list = window_->control(kList);
    int row = list ? list->selection : 0;
    return row >= 1 && row <= kClassifierCount ? &defs_[row - 1] : nullptr;
  }

  void showRows() {
    std::vector<std::vector<std::string>> rows;
    for (const auto& d : defs_)
      rows.push_back({std::to_string(d.number), d.name, d.required ? "Tak" : "", d.listOnly ? "Tak" : ""});
    int row = window_->control(kList)->selection;
    window_->setRows(kList, std::move(rows));
    window_->setSelection(kList, row);
  }

  void showCurrent() {
    ClassifierDefinition* d = current();
    window_->setValue(kName, d ? d->name : "");
    window_->setValue(kRequired, d && d->required ? "1" : "0");
    window_->setValue(kListOnly, d && d->listOnly ? "1" : "0");
    std::string values;
    if (d)
      for (const auto& v : d->values) values += (values.empty() ? "" : "\n") + v;
    window_->setValue(kValues, values);
  }

  void readCurrent() {
    ClassifierDefinition* d = current();
    if (!d) return;
    std::string name = window_->value(kName);
    std::size_t first = name.find_first_not_of(' ');
    d->name = first == std::string::npos ? "" : name.substr(first, name.find_last_not_of(' ') - first + 1);
    d->required = window_->value(kRequired) == "1";
    d->listOnly = window_->value(kListOnly) == "1";
    d->values = linesOf(window_->value(kValues));
    showRows();
  }

  // The first definition that can't be kept as it stands.
  std::string problem() const {
    for (const auto& d : defs_) {
      if (d.name.empty() && (d.required || d.listOnly || !d.values.empty()))
        return "Pole nr " + std::to_string(d.number) + ": proszę wprowadzić nazwę.";
      if (d.listOnly && d.values.empty())
        return "Pole \"" + d.name + "\" przyjmuje tylko wartości z listy, a lista jest pusta.";
    }
    return {};
  }

  int take(const rt::Event& e) {
    if (e.code == rt::event::CloseWindow) return 0;
    if (e.code == rt::event::NewSelection && e.control == kList) {
      showCurrent();
      return kOpen;
    }
    if (e.code != rt::event::Accepted) return kOpen;
    if (e.control == kCancel) return 0;
    if (e.control == kName || e.control == kRequired || e.control == kListOnly || e.control == kValues) {
      readCurrent();
      return kOpen;
    }
    if (e.control != kOk) return kOpen;
    readCurrent();
    if (std::string p = problem(); !p.empty()) {
      MSG_OSTRZEZENIE(p);
      return kOpen;
    }
    if (!saveClassifierDefinitions(kind_, defs_)) {
      MSG_OSTRZEZENIE("Nie udało się zapisać definicji pól dodatkowych! Powód: " + rt::errorText());
      return kOpen;
    }
    return 1;
  }

  std::string kind_;
  std::vector<ClassifierDefinition> defs_;
  std::shared_ptr<rt::Window> window_;
  HelpViewer help_;
};

}  // namespace

int KLASYFIKATORY_OKNO(std::string_view kind, int request, double recordId) {
  // A record's window shows that record's values: a caller that did not load them (or
  // loaded another record's) gets them read now.
  if (request != kClassifierFilterUse && recordId > 0 && loadedRecord(kind) != recordId &&
      KLASYFIKATORY_INITUSE(kind, recordId) != 0)
    return data::kRequestCancelled;
  ValuesWindow window(kind, request);
  return window.run();
}

int KLASYFIKATORY_DEFINICJE(std::string_view kind) {
  if (!isAdministrator()) {
    MSG_OSTRZEZENIE("Definicje pól dodatkowych może zmieniać tylko administrator systemu (użytkownik Admin).");
    return 0;
  }
  DefinitionsWindow window(kind);
  return window.run();
}

}  // namespace slownik::svc
