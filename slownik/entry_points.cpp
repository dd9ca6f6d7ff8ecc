#include "slownik/entry_points.h"

#include <iterator>

namespace {

// Each dictionary adds its rows here as it is built; the host's menu lists exactly these.
const SlownikEntryPoint kEntryPoints[] = {
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" const SlownikEntryPoint* SLOWNIK_ENTRY_POINTS(int* count) {
  int n = 0;
  for (const auto& e : kEntryPoints)
    if (e.exportName) ++n;
  if (count) *count = n;
  return kEntryPoints;
}
