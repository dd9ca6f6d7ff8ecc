#include "framework/data/vat_queue.h"

namespace slownik::data {

std::vector<VatEntry> VatQueue::entries() const {
  std::lock_guard lock(mutex_);
  return entries_;
}

void VatQueue::replace(std::vector<VatEntry> entries) {
  std::lock_guard lock(mutex_);
  entries_ = std::move(entries);
  stale_ = false;
}

void VatQueue::markStale() {
  std::lock_guard lock(mutex_);
  stale_ = true;
}

bool VatQueue::isStale() const {
  std::lock_guard lock(mutex_);
  return stale_;
}

std::size_t VatQueue::size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

VatQueue& VATQ() {
  static VatQueue queue;
  return queue;
}

}  // namespace slownik::data
