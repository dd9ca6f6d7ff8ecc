#include "framework/classes/select_file_class.h"

#include <filesystem>

#include "framework/runtime/front_end.h"
#include "framework/runtime/window.h"

namespace slownik::fw {

void SelectFileClass::init(std::string title, std::string filter, std::string directory) {
  title_ = std::move(title);
  filter_ = std::move(filter);
  directory_ = std::move(directory);
  directoryOnly_ = false;
}

std::optional<std::string> SelectFileClass::ask(bool save) {
  rt::FileDialogRequest request;
  request.title = title_;
  request.directory = directory_;
  request.filter = filter_;
  request.save = save;
  request.directoryOnly = directoryOnly_;
  request.parent = rt::activeWindow();
  auto chosen = rt::frontEnd().fileDialog(request);
  if (chosen && !chosen->empty()) {
    directory_ = directoryOnly_ ? *chosen : std::filesystem::path(*chosen).parent_path().string();
  }
  return chosen;
}

}  // namespace slownik::fw
