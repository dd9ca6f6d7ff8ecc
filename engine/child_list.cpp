#include "engine/child_list.h"

#include <utility>

#include "framework/data/relation_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/log.h"

namespace slownik::engine {

ChildList::ChildList(ChildListDescriptor descriptor) : descriptor_(std::move(descriptor)) {}

ChildList::~ChildList() { kill(); }

int ChildList::start(fw::WindowManager& owner, double ownerId, bool editable) {
  relation_ = data::relationManager(descriptor_.table);
  if (!relation_) {
    rt::logMessage("ChildList: unknown table " + descriptor_.table);
    return -1;
  }
  table_ = &relation_->table();
  relation_->open();
  opened_ = true;
  editable_ = editable;
  ownerId_ = ownerId;

  view_ = std::make_unique<data::ViewManager>(*table_);
  view_->addRange(descriptor_.ownerField, static_cast<long long>(ownerId_));
  if (editable_) {
    insertControl = descriptor_.insertControl;
    changeControl = descriptor_.changeControl;
    deleteControl = descriptor_.deleteControl;
  }
  updateNumber = descriptor_.formNumber;
  setPageSize(descriptor_.pageSize);
  init(descriptor_.list, *view_, queue_, relation_, owner);

  const SortOrderDef& order = descriptor_.sortOrder;
  switch (order.locator) {
    case LocatorKind::None:
      break;
    case LocatorKind::Step:
      locator_ = std::make_unique<fw::StepLocator>();
      break;
    case LocatorKind::Incremental:
      locator_ = std::make_unique<fw::IncrementalLocator>();
      break;
    case LocatorKind::Entry:
      locator_ = std::make_unique<fw::EntryLocator>();
      break;
    case LocatorKind::Filter:
      locator_ = std::make_unique<fw::FilterLocator>();
      break;
  }
  if (locator_) locator_->init(order.locatorControl, order.locatorField, *this);
  addSortOrder(order.key, locator_.get());
  for (const auto& column : descriptor_.columns) addField(column);
  outputs_.attach();

  if (rt::Window* w = window()) {
    if (!editable_) {
      // Looking only: neither the list nor its buttons take the user's hand.
      w->disable(descriptor_.list);
      for (const std::string* b : {&descriptor_.insertControl, &descriptor_.changeControl, &descriptor_.deleteControl})
        if (!b->empty()) w->disable(*b);
    }
    // The owner set its alerts before the list existed: the list reserves its keys now.
    setAlerts();
  }
  resetQueue();
  return view_->errorCode();
}

void ChildList::setOwner(double ownerId) {
  if (!view_) return;
  ownerId_ = ownerId;
  view_->clearRanges();
  view_->addRange(descriptor_.ownerField, static_cast<long long>(ownerId_));
  fetch(fw::FetchDirection::First);
}

int ChildList::callForm(int request) {
  if (!descriptor_.form || !table_) return data::kRequestCancelled;
  if (descriptor_.beforeForm && !descriptor_.beforeForm(request)) return data::kRequestCancelled;
  const data::RecordBuffer before = data::buffer(*table_);
  data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
  data::GLOBALRESPONSE() = data::kNoResponse;
  descriptor_.form();
  const int response =
      data::GLOBALRESPONSE() == data::kRequestCompleted ? data::kRequestCompleted : data::kRequestCancelled;
  if (descriptor_.afterForm) descriptor_.afterForm(request, response, before);
  return response;
}

void ChildList::kill() {
  if (opened_ && relation_) relation_->close();
  opened_ = false;
}

}  // namespace slownik::engine
