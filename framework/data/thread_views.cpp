#include "framework/data/thread_views.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/sql/text.h"

namespace slownik::data {
namespace {

struct ViewSlot {
  std::vector<std::unique_ptr<ViewManager>> views;  // [0] the procedure's view; more when nested
  std::size_t inUse = 0;                            // how many of them are open
  int binding = kViewUnbound;
};

// Per thread: the destructor at thread end closes whatever is still open.
thread_local std::map<std::string, ViewSlot> slots;

std::string slotName(std::string_view procedure) { return sql::toUpperAscii(procedure); }

}  // namespace

ViewManager& openThreadView(std::string_view procedure, const sql::TableDef& main,
                            const std::function<void(ViewManager&)>& bind) {
  ViewSlot& slot = slots[slotName(procedure)];
  if (!slot.views.empty() && &slot.views.front()->table() != &main) {  // another table under the name: start over
    slot = {};
  }
  bool first = slot.inUse >= slot.views.size();
  if (first) slot.views.push_back(std::make_unique<ViewManager>(main));
  ViewManager& view = *slot.views[slot.inUse];
  bool needsBinding = slot.inUse > 0 ? first : slot.binding == kViewUnbound;
  if (needsBinding) {
    if (slot.inUse == 0) slot.binding = kViewBinding;
    if (bind) bind(view);
    if (slot.inUse == 0) slot.binding = kViewBound;
  }
  ++slot.inUse;
  view.open();
  return view;
}

void closeThreadView(std::string_view procedure) {
  auto it = slots.find(slotName(procedure));
  if (it == slots.end() || it->second.inUse == 0) return;
  it->second.views[--it->second.inUse]->close();
}

bool isThreadViewInUse(std::string_view procedure) {
  auto it = slots.find(slotName(procedure));
  return it != slots.end() && it->second.inUse > 0;
}

int threadViewBinding(std::string_view procedure) {
  auto it = slots.find(slotName(procedure));
  return it == slots.end() ? kViewUnbound : it->second.binding;
}

int closeThreadViews() {
  int closed = 0;
  for (auto& [name, slot] : slots) {
    while (slot.inUse > 0) {
      slot.views[--slot.inUse]->close();
      ++closed;
    }
  }
  return closed;
}

}  // namespace slownik::data
