#include "framework/runtime/front_end.h"

#include <atomic>
#include <mutex>

#include "framework/runtime/log.h"
#include "framework/runtime/window.h"

namespace slownik::rt {
namespace {

// Stands in until a front-end is set (a tool without windows, a test that never set
// one): nothing is shown, nobody answers, so every request gets its default at once.
class QuietFrontEnd final : public FrontEnd {
 public:
  void windowOpened(const std::shared_ptr<Window>&) override {}
  void windowClosed(const std::shared_ptr<Window>&) override {}
  void propertyChanged(const std::shared_ptr<Window>&, const std::string&, Property) override {}
  void focusChanged(const std::shared_ptr<Window>&, const std::string&) override {}
  int messageBox(const MessageBoxRequest& request) override {
    logMessage("message box without a front-end: " + request.title + ": " + request.text);
    return fallbackButton(request);
  }
  int popupMenu(const PopupRequest&) override { return 0; }
  std::optional<std::string> fileDialog(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<long> colorDialog(const std::string&, long) override { return std::nullopt; }
  std::optional<long> calendarDialog(const CalendarRequest&) override { return std::nullopt; }
  std::string clipboardText() override {
    std::lock_guard lock(mutex_);
    return clipboard_;
  }
  void setClipboardText(const std::string& text) override {
    std::lock_guard lock(mutex_);
    clipboard_ = text;
  }
  bool openLink(const std::string& url) override {
    logMessage("link not opened without a front-end: " + url);
    return false;
  }
  void setBusy(bool) override {}
  void showHelp(const std::string&, const std::string&) override {}

 private:
  std::mutex mutex_;
  std::string clipboard_;
};

std::mutex installMutex;
std::shared_ptr<FrontEnd> installed;          // keeps the set front-end alive
std::atomic<FrontEnd*> current{nullptr};

void collectChoices(const std::vector<PopupItem>& items, const std::string& prefix, std::vector<std::string>& out) {
  for (const auto& item : items) {
    if (item.separator) continue;
    std::string path = prefix.empty() ? item.text : prefix + "/" + item.text;
    if (!item.items.empty()) {
      collectChoices(item.items, path, out);
    } else {
      out.push_back(path);
    }
  }
}

}  // namespace

std::vector<std::string> messageLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t bar = text.find('|', start);
    lines.emplace_back(text.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return lines;
}

int fallbackButton(const MessageBoxRequest& request) {
  if (request.defaultButton != 0 && (request.buttons & request.defaultButton)) return request.defaultButton;
  for (int b = button::Ok; b <= button::Help; b <<= 1) {
    if (request.buttons & b) return b;
  }
  return button::Ok;
}

std::vector<std::string> popupChoices(const std::vector<PopupItem>& items) {
  std::vector<std::string> out;
  collectChoices(items, {}, out);
  return out;
}

bool setFrontEnd(std::shared_ptr<FrontEnd> frontEnd) {
  if (!frontEnd) return false;
  std::lock_guard lock(installMutex);
  if (installed) return false;
  installed = std::move(frontEnd);
  current.store(installed.get(), std::memory_order_release);
  return true;
}

FrontEnd& frontEnd() {
  if (FrontEnd* fe = current.load(std::memory_order_acquire)) return *fe;
  static QuietFrontEnd quiet;
  return quiet;
}

int messageBox(std::string title, std::string text, MessageIcon icon, int buttons, int defaultButton) {
  MessageBoxRequest request;
  request.title = std::move(title);
  request.text = std::move(text);
  request.icon = icon;
  request.buttons = buttons == 0 ? button::Ok : buttons;
  request.defaultButton = defaultButton;
  request.parent = activeWindow();
  return frontEnd().messageBox(request);
}

int popupMenu(std::vector<PopupItem> items) {
  PopupRequest request;
  request.items = std::move(items);
  request.parent = activeWindow();
  return frontEnd().popupMenu(request);
}

bool printPreview(std::string title, std::string html) {
  PrintRequest request;
  request.title = std::move(title);
  request.html = std::move(html);
  request.parent = activeWindow();
  return frontEnd().printPreview(request);
}

}  // namespace slownik::rt
