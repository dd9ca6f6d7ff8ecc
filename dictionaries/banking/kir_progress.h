#pragma once
#include <string_view>

namespace slownik::banking {

//! What the branch import tells the person watching it, and how it learns that the
//! person wants it to stop. Called on the import's own (procedure) thread only.
class KirProgress {
 public:
  virtual ~KirProgress() = default;
  //! Before the first record: the number of records in the file (the thermometer's range).
  virtual void begin(long total) = 0;
  //! For each record as it is taken: its 1-based counter, the total and the branch's
  //! name (trailing blanks cut, at most 49 characters).
  virtual void step(long counter, long total, std::string_view name) = 0;
  //! Asked before each record; true stops the import before that record. What was
  //! imported so far stays.
  virtual bool isCancelled() = 0;
  //! After the last record taken (also after a cancel or a failure).
  virtual void end() = 0;
};

}  // namespace slownik::banking
