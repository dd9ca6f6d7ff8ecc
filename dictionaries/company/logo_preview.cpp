#include "dictionaries/company/logo_preview.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

#include "dictionaries/company/company_rules.h"
#include "framework/runtime/log.h"

namespace slownik::company {
namespace {

// Whether `path` names a picture the preview can show: a file within the size the form
// takes, starting like one of the formats documents print.
bool isShowablePicture(const std::string& path) {
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return false;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kLargestLogoBytes) return false;
  std::ifstream in(path, std::ios::binary);
  char head[8] = {};
  in.read(head, sizeof head);
  return isPicture(std::string_view(head, static_cast<std::size_t>(in.gcount())));
}

// A name no other preview of this program uses, now or in another process.
std::string ownFileName() {
  static std::atomic<unsigned> counter{0};
  std::error_code error;
  std::filesystem::path dir = std::filesystem::temp_directory_path(error);
  if (error) dir = "/tmp";
  return (dir / ("slownik-logo-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".img")).string();
}

}  // namespace

LogoPreview::~LogoPreview() { dropOwnFile(); }

void LogoPreview::dropOwnFile() {
  if (ownFile_.empty()) return;
  std::error_code error;
  std::filesystem::remove(ownFile_, error);
  ownFile_.clear();
}

void LogoPreview::show(rt::Window& window, const std::string& control, const std::string& stored,
                       const std::string& path) {
  std::string next;
  if (!stored.empty()) {
    const std::string file = ownFileName();
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out.write(stored.data(), static_cast<std::streamsize>(stored.size())) && out.flush()) {
      next = file;
    } else {
      rt::logMessage("the logo preview could not be written to " + file);
    }
    out.close();
    // The previous own file goes only after the control names the new one.
    window.setValue(control, next);
    dropOwnFile();
    ownFile_ = file;
    if (next.empty()) dropOwnFile();
  } else {
    if (isShowablePicture(path)) next = path;
    window.setValue(control, next);
    dropOwnFile();
  }
  shown_ = next;
}

}  // namespace slownik::company
