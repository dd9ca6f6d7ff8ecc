// The windows of the additional tables: a record's rows ("Tabele dodatkowe") with the
// form of one row, and the administrator's definitions.
#include <cctype>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/data/globals.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/event.h"
#include "framework/runtime/window.h"
#include "framework/services/additional_tables.h"
#include "framework/services/help_viewer.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"
#include "framework/services/service_database.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::svc {
namespace {

constexpr const char* kResource = "slownik$tabele_dodatkowe";
constexpr const char* kList = "?LIST";
constexpr const char* kTable = "?TABELA";
constexpr const char* kRecord = "?REKORD";
constexpr const char* kPrevious = "?POPRZEDNI";
constexpr const char* kNext = "?NASTEPNY";
constexpr const char* kInsert = "?INSERT";
constexpr const char* kChange = "?CHANGE";
constexpr const char* kDelete = "?DELETE";
constexpr const char* kDefinitions = "?DEFINICJE";
constexpr const char* kClose = "?CLOSE";
constexpr const char* kOk = "?OK";
constexpr const char* kCancel = "?CANCEL";
constexpr int kOpen = -1;

bool isAdministrator() { return data::glo().ID_UZYTKOWNIKA.get() == kAdminUserId; }

std::string trimmedText(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A column name goes into statement text: only a plain identifier is taken.
bool isIdentifier(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  return true;
}

// The main table's id column of a list query "FROM <table> A …"; "" when not known.
std::string idColumnOf(std::string_view listSql) {
  std::string upper = sql::toUpperAscii(listSql);
  std::size_t from = upper.find("FROM ");
  if (from == std::string::npos) return {};
  std::size_t start = upper.find_first_not_of(' ', from + 5);
  if (start == std::string::npos) return {};
  std::size_t end = upper.find_first_of(" \t\r\n", start);
  const sql::TableDef* table = sql::Catalogue::instance().find(upper.substr(start, end - start));
  return table ? table->idColumn : std::string();
}

// A header of a list format holds no separators of the format.
std::string headerText(std::string text) {
  for (char& c : text)
    if (c == '~' || c == '|' || c == '@') c = ' ';
  return text;
}

struct Row {
  double id = 0;
  std::vector<std::string> values = std::vector<std::string>(kAdditionalColumns);
};

// The form of one row: the table's columns in use; true when the row was written.
bool editRow(const AdditionalTable& table, double recordId, Row& row, bool insert) {
  std::string error;
  auto w = rt::Window::open(kResource, "P1$FORMWINDOW", &error);
  if (!w) {
    MSG_OSTRZEZENIE("Nie można otworzyć okna wiersza tabeli: " + error);
    return false;
  }
  w->setTitle(std::string(insert ? "Dodawanie wiersza: " : "Edycja wiersza: ") + table.name);
  const std::vector<int> used = table.usedColumns();
  for (int c = 1; c <= kAdditionalColumns; ++c) {
    const std::string control = "?WARTOSC" + std::to_string(c);
    bool isUsed = false;
    for (int u : used) isUsed = isUsed || u == c;
    w->hide(control + ":WIERSZ", !isUsed);
    w->setText(control + ":PROMPT", table.columns[c - 1]);
    w->setValue(control, row.values[c - 1]);
  }
  bool written = false;
  for (bool open = true; open;) {
    rt::Event e = w->nextEvent();
    if (e.code == rt::event::CloseWindow) break;
    if (e.code != rt::event::Accepted) continue;
    if (e.control == kCancel) break;
    if (e.control != kOk) continue;
    Row edited = row;
    bool any = false;
    for (int c : used) {
      edited.values[c - 1] = sql::truncateUtf8(trimmedText(w->value("?WARTOSC" + std::to_string(c))), 100);
      any = any || !edited.values[c - 1].empty();
    }
    if (!any) {
      MSG_OSTRZEZENIE("Proszę wypełnić przynajmniej jedną kolumnę wiersza.");
      continue;
    }
    std::vector<sql::Param> p;
    for (const auto& v : edited.values) p.emplace_back(v);
    sql::Status s;
    if (insert) {
      p.insert(p.begin(), {idParam(table.id), idParam(recordId)});
      s = serviceExecute("INSERT INTO TABELA_DODATKOWA_WIERSZ (ID_WIERSZA, ID_TABELI, ID_REKORDU, WARTOSC1, WARTOSC2, "
                         "WARTOSC3, WARTOSC4, WARTOSC5) SELECT COALESCE(MAX(ID_WIERSZA), 0) + 1, ?, ?, ?, ?, ?, ?, ? "
                         "FROM TABELA_DODATKOWA_WIERSZ",
                         p);
    } else {
      p.emplace_back(idParam(row.id));
      s = serviceExecute("UPDATE TABELA_DODATKOWA_WIERSZ SET WARTOSC1 = ?, WARTOSC2 = ?, WARTOSC3 = ?, WARTOSC4 = ?, "
                         "WARTOSC5 = ? WHERE ID_WIERSZA = ?",
                         p);
    }
    if (!s) {
      MSG_OSTRZEZENIE("Nie udało się zapisać wiersza! Powód: " + rt::errorText());
      continue;
    }
    row = edited;
    written = true;
    open = false;
  }
  w->close();
  return written;
}

class TablesWindow {
 public:
  TablesWindow(std::string_view kind, std::string_view listSql, std::string_view labelColumn, double recordId)
      : kind_(kind), listSql_(listSql), labelColumn_(labelColumn), recordId_(recordId) {}

  void run() {
    auto tables = additionalTables(kind_);
    if (!tables) {
      MSG_OSTRZEZENIE("Nie udało się odczytać tabel dodatkowych! Powód: " + rt::errorText());
      return;
    }
    tables_ = std::move(*tables);
    if (tables_.empty() && !isAdministrator()) {
      MSG_OSTRZEZENIE("Nie zdefiniowano tabel dodatkowych dla: " + kind_ + ".");
      return;
    }
    std::string error;
    window_ = rt::Window::open(kResource, "P1$WINDOW", &error);
    if (!window_) {
      MSG_OSTRZEZENIE("Nie można otworzyć okna tabel dodatkowych: " + error);
      return;
    }
    window_->setTitle("Tabele dodatkowe");
    help_.init(window_, moduleHelpFile());
    help_.setTopic("tabele_dodatkowe.htm");
    window_->hide(kDefinitions, !isAdministrator());
    readRecords();
    showTables();
    showRecord();
    for (;;) {
      rt::Event e = window_->nextEvent();
      if (help_.takeEvent(e)) continue;
      if (e.code == rt::event::CloseWindow) break;
      if (e.code != rt::event::Accepted) continue;
      if (e.control == kClose) break;
      take(e.control);
    }
    help_.kill();
    window_->close();
  }

 private:
  // The calling list's records in its order, for moving between them.
  void readRecords() {
    const std::string idColumn = idColumnOf(listSql_);
    if (idColumn.empty()) return;
    const std::string label = isIdentifier(labelColumn_) ? "A." + labelColumn_ : "A." + idColumn;
    sql::Result r;
    if (!serviceRun("SELECT A." + idColumn + ", " + label + " " + listSql_, &r)) return;
    for (std::size_t i = 0; i < r.size(); ++i) records_.push_back({std::atof(r.text(i, 0).c_str()), r.text(i, 1)});
  }

  int recordIndex() const {
    for (std::size_t i = 0; i < records_.size(); ++i)
      if (records_[i].id == recordId_) return static_cast<int>(i);
    return -1;
  }

  void showRecord() {
    int at = recordIndex();
    std::string label = at >= 0 ? trimmedText(records_[at].label) : sql::sqlId(recordId_);
    window_->setText(kRecord, kind_ + ": " + label);
    window_->enable(kPrevious, at > 0);
    window_->enable(kNext, at >= 0 && at + 1 < static_cast<int>(records_.size()));
    showRows();
  }

  void showTables() {
    std::vector<std::string> names;
    for (const auto& t : tables_) names.push_back(t.name);
    window_->setItems(kTable, names);
    if (current_ >= static_cast<int>(tables_.size())) current_ = 0;
    window_->setValue(kTable, tables_.empty() ? "" : tables_[current_].name);
    window_->hide("?TABELA:WIERSZ", tables_.size() < 2);
    if (!tables_.empty()) {
      std::string format;
      for (int c : tables_[current_].usedColumns())
        format += "100L(2)|M~" + headerText(tables_[current_].columns[c - 1]) + "~@s100@";
      window_->setFormat(kList, format.empty() ? "100L(2)|M~~@s100@" : format);
    }
    for (const char* b : {kInsert, kChange, kDelete}) window_->enable(b, !tables_.empty());
  }

  void showRows(double selectId = 0) {
    rows_.clear();
    std::vector<std::vector<std::string>> shown;
    if (!tables_.empty()) {
      sql::Result r;
      if (!serviceExecute("SELECT ID_WIERSZA, WARTOSC1, WARTOSC2, WARTOSC3, WARTOSC4, WARTOSC5 FROM "
                          "TABELA_DODATKOWA_WIERSZ WHERE ID_TABELI = ? AND ID_REKORDU = ? ORDER BY ID_WIERSZA",
                          {idParam(tables_[current_].id), idParam(recordId_)}, &r))
        MSG_OSTRZEZENIE("Nie udało się odczytać wierszy tabeli! Powód: " + rt::errorText());
      const std::vector<int> used = tables_[current_].usedColumns();
      for (std::size_t i = 0; i < r.size(); ++i) {
        Row row;
        row.id = std::atof(r.text(i, 0).c_str());
        for (int c = 0; c < kAdditionalColumns; ++c) row.values[c] = r.text(i, 1 + c);
        std::vector<std::string> cells;
        for (int c : used) cells.push_back(row.values[c - 1]);
        shown.push_back(std::move(cells));
        rows_.push_back(std::move(row));
      }
    }
    int keep = window_->control(kList)->selection;
    for (std::size_t i = 0; i < rows_.size(); ++i)
      if (selectId > 0 && rows_[i].id == selectId) keep = static_cast<int>(i) + 1;
    const int count = static_cast<int>(rows_.size());
    window_->setRows(kList, std::move(shown));
    window_->setSelection(kList, count == 0 ? 0 : (keep < 1 ? 1 : (keep > count ? count : keep)));
    window_->enable(kChange, count > 0);
    window_->enable(kDelete, count > 0);
  }

  Row* currentRow() {
    int row = window_->control(kList)->selection;
    return row >= 1 && row <= static_cast<int>(rows_.size()) ? &rows_[row - 1] : nullptr;
  }

  void take(const std::string& control) {
    if (control == kTable) {
      const std::string chosen = window_->value(kTable);
      for (std::size_t i = 0; i < tables_.size(); ++i)
        if (tables_[i].name == chosen) current_ = static_cast<int>(i);
      showTables();
      showRows();
    } else if (control == kPrevious || control == kNext) {
      int at = recordIndex() + (control == kNext ? 1 : -1);
      if (at >= 0 && at < static_cast<int>(records_.size())) recordId_ = records_[at].id;
      showRecord();
    } else if (control == kInsert && !tables_.empty()) {
      Row row;
      if (editRow(tables_[current_], recordId_, row, true)) {
        showRows();
        window_->setSelection(kList, static_cast<int>(rows_.size()));  // rows come in the order they were added
      }
    } else if ((control == kChange || control == kList) && currentRow()) {
      Row row = *currentRow();
      if (editRow(tables_[current_], recordId_, row, false)) showRows(row.id);
    } else if (control == kDelete && currentRow()) {
      if (MSG_PYTANIE("Czy usunąć bieżący wiersz tabeli " + tables_[current_].name + "?") != kYes) return;
      if (!serviceExecute("DELETE FROM TABELA_DODATKOWA_WIERSZ WHERE ID_WIERSZA = ?", {idParam(currentRow()->id)}))
        MSG_OSTRZEZENIE("Nie udało się usunąć wiersza! Powód: " + rt::errorText());
      showRows();
    } else if (control == kDefinitions && TABELE_DODATKOWE_DEFINICJE(kind_) == 1) {
      if (auto tables = additionalTables(kind_)) tables_ = std::move(*tables);
      showTables();
      showRows();
    }
  }

  struct Record {
    double id;
    std::string label;
  };
  std::string kind_;
  std::string listSql_;
  std::string labelColumn_;
  double recordId_;
  std::vector<AdditionalTable> tables_;
  int current_ = 0;
  std::vector<Row> rows_;
  std::vector<Record> records_;
  std::shared_ptr<rt::Window> window_;
  HelpViewer help_;
};

class DefinitionsWindow {
 public:
  explicit DefinitionsWindow(std::string_view kind) : kind_(kind) {}

  int run() {
    auto tables = additionalTables(kind_);
    if (!tables) {
      MSG_OSTRZEZENIE(rt::errorText());
      return 0;
    }
    tables_ = std::move(*tables);
    std::string error;
    window_ = rt::Window::open("slownik$tabele_dodatkowe_def", "P1$WINDOW", &error);
    if (!window_) {
      MSG_OSTRZEZENIE("Nie można otworzyć okna definicji tabel dodatkowych: " + error);
      return 0;
    }
    window_->setTitle("Definicje tabel dodatkowych: " + kind_);
    showRows(1);
    int result = kOpen;
    while (result == kOpen) result = take(window_->nextEvent());
    window_->close();
    return result;
  }

 private:
  AdditionalTable* current() {
    int row = window_->control(kList)->selection;
    return row >= 1 && row <= static_cast<int>(tables_.size()) ? &tables_[row - 1] : nullptr;
  }

  void showRows(int select) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& t : tables_) rows.push_back({t.name});
    window_->setRows(kList, std::move(rows));
    const int count = static_cast<int>(tables_.size());
    window_->setSelection(kList, count == 0 ? 0 : (select < 1 ? 1 : (select > count ? count : select)));
    showCurrent();
  }

  void showCurrent() {
    AdditionalTable* t = current();
    window_->setValue("?NAZWA", t ? t->name : "");
    for (int c = 1; c <= kAdditionalColumns; ++c) window_->setValue("?KOLUMNA" + std::to_string(c), t ? t->columns[c - 1] : "");
    window_->enable("?NAZWA", t != nullptr);
    for (int c = 1; c <= kAdditionalColumns; ++c) window_->enable("?KOLUMNA" + std::to_string(c), t != nullptr);
  }

  void readCurrent() {
    AdditionalTable* t = current();
    if (!t) return;
    t->name = trimmedText(window_->value("?NAZWA"));
    for (int c = 1; c <= kAdditionalColumns; ++c) t->columns[c - 1] = trimmedText(window_->value("?KOLUMNA" + std::to_string(c)));
    int row = window_->control(kList)->selection;
    std::vector<std::vector<std::string>> rows;
    for (const auto& each : tables_) rows.push_back({each.name});
    window_->setRows(kList, std::move(rows));
    window_->setSelection(kList, row);
  }

  std::string problem() const {
    for (std::size_t i = 0; i < tables_.size(); ++i) {
      const auto& t = tables_[i];
      if (t.name.empty()) return "Proszę wprowadzić nazwę tabeli.";
      if (t.usedColumns().empty()) return "Tabela \"" + t.name + "\" musi mieć przynajmniej jedną kolumnę.";
      for (std::size_t j = 0; j < i; ++j)
        if (sql::equalsIgnoreCase(tables_[j].name, t.name)) return "Tabela o nazwie \"" + t.name + "\" już istnieje.";
    }
    return {};
  }

  int take(const rt::Event& e) {
    if (e.code == rt::event::CloseWindow) return saved_;
    if (e.code == rt::event::NewSelection && e.control == kList) {
      showCurrent();
      return kOpen;
    }
    if (e.code != rt::event::Accepted) return kOpen;
    if (e.control == kCancel) return saved_;
    if (e.control == "?DODAJ") {
      tables_.push_back(AdditionalTable{});
      showRows(static_cast<int>(tables_.size()));
      window_->select("?NAZWA");
      return kOpen;
    }
    if (e.control == "?USUN") {
      AdditionalTable* t = current();
      if (!t) return kOpen;
      if (t->id > 0 && MSG_PYTANIE("Usunięcie tabeli \"" + t->name + "\" usunie też wszystkie jej wiersze.|Czy kontynuować?") != kYes)
        return kOpen;
      int row = window_->control(kList)->selection;
      tables_.erase(tables_.begin() + (row - 1));
      showRows(row);
      return kOpen;
    }
    if (e.control != kOk) {
      if (e.control != kList) readCurrent();
      return kOpen;
    }
    readCurrent();
    if (std::string p = problem(); !p.empty()) {
      MSG_OSTRZEZENIE(p);
      return kOpen;
    }
    if (!saveAdditionalTables(kind_, tables_)) {
      MSG_OSTRZEZENIE("Nie udało się zapisać definicji tabel dodatkowych! Powód: " + rt::errorText());
      return kOpen;
    }
    return 1;
  }

  std::string kind_;
  std::vector<AdditionalTable> tables_;
  int saved_ = 0;
  std::shared_ptr<rt::Window> window_;
};

}  // namespace

void TABELE_DODATKOWE(std::string_view kind, std::string_view listSql, std::string_view labelColumn, double recordId) {
  TablesWindow window(kind, listSql, labelColumn, recordId);
  window.run();
}

int TABELE_DODATKOWE_DEFINICJE(std::string_view kind) {
  if (!isAdministrator()) {
    MSG_OSTRZEZENIE("Definicje tabel dodatkowych może zmieniać tylko administrator systemu (użytkownik Admin).");
    return 0;
  }
  DefinitionsWindow window(kind);
  return window.run();
}

}  // namespace slownik::svc
