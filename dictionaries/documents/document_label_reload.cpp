#include "dictionaries/documents/document_label_reload.h"

#include <atomic>

namespace slownik::documents {
namespace {
std::atomic<long> reloads{0};
}  // namespace

void reloadProgramLabels() { reloads.fetch_add(1, std::memory_order_acq_rel); }

long programLabelReloads() { return reloads.load(std::memory_order_acquire); }

}  // namespace slownik::documents
