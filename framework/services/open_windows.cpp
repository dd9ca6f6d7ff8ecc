#include "framework/services/open_windows.h"

#include <algorithm>

#include "framework/services/text_services.h"

namespace slownik::svc {
namespace {

template <typename Keys>  // const or not
auto findKey(Keys& keys, std::string_view key) {
  std::string wanted = upperPolish(key);
  return std::find_if(keys.begin(), keys.end(), [&](const std::string& k) { return upperPolish(k) == wanted; });
}

}  // namespace

bool OpenWindowList::add(std::string_view key) {
  std::lock_guard lock(mutex_);
  if (findKey(keys_, key) != keys_.end()) return false;
  keys_.emplace_back(key);
  return true;
}

bool OpenWindowList::remove(std::string_view key) {
  std::lock_guard lock(mutex_);
  auto it = findKey(keys_, key);
  if (it == keys_.end()) return false;
  keys_.erase(it);
  return true;
}

bool OpenWindowList::contains(std::string_view key) const {
  std::lock_guard lock(mutex_);
  return findKey(keys_, key) != keys_.end();
}

std::vector<std::string> OpenWindowList::keys() const {
  std::lock_guard lock(mutex_);
  return keys_;
}

OpenWindowList& openWindowList() {
  static OpenWindowList list;
  return list;
}

void SKASUJOKNO(std::string_view windowKey) { openWindowList().remove(windowKey); }

}  // namespace slownik::svc
