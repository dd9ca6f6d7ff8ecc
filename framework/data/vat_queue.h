#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "framework/runtime/decimal.h"

namespace slownik::data {

//! One active VAT rate as the rest of the system reads it.
struct VatEntry {
  std::string kod;     //!< the rate's code, up to 10 characters
  rt::Decimal stawka;  //!< the rate in percent, 2 places
};

//! The process-wide list of active VAT rates (VATQ). Any thread may read it while
//! another rebuilds it: readers get a consistent copy.
class VatQueue {
 public:
  std::vector<VatEntry> entries() const;
  //! The rates as the database holds them now; the list is current again.
  void replace(std::vector<VatEntry> entries);
  void clear() { replace({}); }
  std::size_t size() const;
  //! The last rebuild failed: the list keeps the rates it had, and the next chance
  //! (the VAT list's opening) should rebuild it.
  void markStale();
  bool isStale() const;

 private:
  mutable std::mutex mutex_;
  std::vector<VatEntry> entries_;
  bool stale_ = false;
};

VatQueue& VATQ();

}  // namespace slownik::data
