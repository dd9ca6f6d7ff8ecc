#pragma once
// The record semaphore lives in the engine, beside the lists that use it.
// FIXME: goes away once the interest table form includes engine/record_semaphore.h.
#include "engine/record_semaphore.h"

namespace slownik::banking {

using engine::currentUser;
using engine::RecordSemaphore;

}  // namespace slownik::banking
