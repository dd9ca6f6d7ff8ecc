#include "framework/data/requests.h"

namespace slownik::data {
namespace {

thread_local std::uint8_t globalRequest = 0;
thread_local std::uint8_t globalResponse = 0;
thread_local int vcrRequest = 0;

}  // namespace

std::uint8_t& GLOBALREQUEST() { return globalRequest; }
std::uint8_t& GLOBALRESPONSE() { return globalResponse; }
int& VCRREQUEST() { return vcrRequest; }

}  // namespace slownik::data
