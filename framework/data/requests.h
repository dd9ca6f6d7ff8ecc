#pragma once
#include <cstdint>

namespace slownik::data {

//! Request codes a caller hands a window in GLOBALREQUEST.
enum Request : std::uint8_t {
  kNoRequest = 0,
  kInsertRecord = 1,
  kChangeRecord = 2,
  kDeleteRecord = 3,
  kSelectRecord = 4,
  kViewRecord = 6,
};
//! Response codes a window leaves in GLOBALRESPONSE.
enum Response : std::uint8_t {
  kNoResponse = 0,
  kRequestCompleted = 1,
  kRequestCancelled = 2,
};

//! The calling thread's request variables; each thread has its own, so windows in
//! two threads never see each other's requests. GLOBALREQUEST and GLOBALRESPONSE
//! are one byte each; VCRREQUEST is the record-navigation request of a form.
std::uint8_t& GLOBALREQUEST();
std::uint8_t& GLOBALRESPONSE();
int& VCRREQUEST();

}  // namespace slownik::data
