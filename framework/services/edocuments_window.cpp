// Our e-documents viewer: the files of one record, with add, open, save as and delete.
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/event.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/window.h"
#include "framework/services/edocuments.h"
#include "framework/services/help_viewer.h"
#include "framework/services/messages.h"

namespace slownik::svc {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kAdd = "?DODAJ";
constexpr const char* kOpenFile = "?OTWORZ";
constexpr const char* kSaveAs = "?ZAPISZJAKO";
constexpr const char* kDelete = "?USUN";
constexpr const char* kClose = "?CLOSE";

std::string sizeText(long long bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " B";
  if (bytes < 1024 * 1024) return std::to_string((bytes + 1023) / 1024) + " KB";
  return std::to_string((bytes + 1024 * 1024 - 1) / (1024 * 1024)) + " MB";
}

// A file address the desktop reads back as the same path: a '#' or '?' in a file name
// would otherwise start a fragment or a query.
std::string fileUrl(const std::string& path) {
  static const char* kHex = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

std::optional<std::string> askFile(std::string title, bool save, std::string fileName) {
  rt::FileDialogRequest request;
  request.title = std::move(title);
  request.fileName = std::move(fileName);
  request.filter = "Wszystkie pliki|*.*";
  request.save = save;
  request.parent = rt::activeWindow();
  auto chosen = rt::frontEnd().fileDialog(request);
  if (chosen && chosen->empty()) return std::nullopt;
  return chosen;
}

class Viewer {
 public:
  Viewer(std::string_view kind, double recordId) : kind_(kind), recordId_(recordId) {}

  void run() {
    std::string error;
    window_ = rt::Window::open("slownik$edokview", "P1$WINDOW", &error);
    if (!window_) {
      MSG_OSTRZEZENIE("Nie można otworzyć okna e-Dokumentów: " + error);
      return;
    }
    window_->setTitle("e-Dokumenty");
    help_.init(window_, moduleHelpFile());
    help_.setTopic("edokumenty.htm");
    if (!reload()) {
      window_->close();
      return;
    }
    for (;;) {
      rt::Event e = window_->nextEvent();
      if (help_.takeEvent(e)) continue;
      if (e.code == rt::event::CloseWindow) break;
      if (e.code != rt::event::Accepted) continue;
      if (e.control == kClose) break;
      if (e.control == kAdd) add();
      if (e.control == kOpenFile || e.control == kList) open();
      if (e.control == kSaveAs) saveAs();
      if (e.control == kDelete) remove();
    }
    help_.kill();
    window_->close();
  }

 private:
  bool reload(double selectId = 0) {
    auto files = edocuments(kind_, recordId_);
    if (!files) {
      MSG_OSTRZEZENIE("Nie udało się odczytać e-Dokumentów! Powód: " + rt::errorText());
      return false;
    }
    int keep = window_->control(kList) ? window_->control(kList)->selection : 0;
    files_ = std::move(*files);
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < files_.size(); ++i) {
      rows.push_back({files_[i].fileName, sizeText(files_[i].size), rt::formatShortDate(files_[i].day)});
      if (selectId > 0 && files_[i].id == selectId) keep = static_cast<int>(i) + 1;
    }
    window_->setRows(kList, std::move(rows));
    const int count = static_cast<int>(files_.size());
    window_->setSelection(kList, count == 0 ? 0 : (keep < 1 ? 1 : (keep > count ? count : keep)));
    for (const char* b : {kOpenFile, kSaveAs, kDelete}) window_->enable(b, count > 0);
    return true;
  }

  const Edocument* current() const {
    auto list = window_->control(kList);
    int row = list ? list->selection : 0;
    return row >= 1 && row <= static_cast<int>(files_.size()) ? &files_[row - 1] : nullptr;
  }

  void add() {
    auto path = askFile("Wybierz plik do dołączenia", false, {});
    if (!path) return;
    std::string error;
    double id = addEdocument(kind_, recordId_, *path, &error);
    if (id <= 0) {
      MSG_OSTRZEZENIE("Nie udało się dołączyć pliku! Powód: " + error);
      return;
    }
    reload(id);
  }

  void open() {
    const Edocument* doc = current();
    if (!doc) return;
    std::string error;
    std::string path = edocumentTemporaryFile(doc->id, &error);
    if (path.empty()) {
      MSG_OSTRZEZENIE("Nie udało się otworzyć pliku! Powód: " + error);
      reload();
      return;
    }
    if (!rt::frontEnd().openLink(fileUrl(path)))
      MSG_OSTRZEZENIE("Nie znaleziono programu, który otwiera plik " + doc->fileName + ".|Plik zapisano jako " + path +
                      ".");
  }

  void saveAs() {
    const Edocument* doc = current();
    if (!doc) return;
    const double id = doc->id;
    auto path = askFile("Zapisz dokument jako", true, doc->fileName);
    if (!path) return;
    std::string error;
    if (!saveEdocumentAs(id, *path, &error)) MSG_OSTRZEZENIE("Nie udało się zapisać pliku! Powód: " + error);
  }

  void remove() {
    const Edocument* doc = current();
    if (!doc) return;
    const double id = doc->id;
    if (MSG_PYTANIE("Czy usunąć dokument " + doc->fileName + "?") != kYes) return;
    std::string error;
    if (!deleteEdocument(kind_, recordId_, id, &error)) MSG_OSTRZEZENIE("Nie udało się usunąć pliku! Powód: " + error);
    reload();
  }

  std::string kind_;
  double recordId_;
  std::vector<Edocument> files_;
  std::shared_ptr<rt::Window> window_;
  HelpViewer help_;
};

}  // namespace

void edocumentsWindow(std::string_view kind, double recordId) {
  Viewer viewer(kind, recordId);
  viewer.run();
}

}  // namespace slownik::svc
