#include "framework/data/globals.h"

namespace slownik::data {

Globals& glo() {
  static Globals globals;
  return globals;
}

}  // namespace slownik::data
