#include "framework/sql/routines/routine_args.h"

#include <charconv>
#include <cmath>

namespace slownik::sql {

Status RoutineArgs::failure(const std::string& message) const { return Status::failure(routine_ + ": " + message); }

Status RoutineArgs::require(std::size_t n) const {
  if (args_.size() >= n) return {};
  return failure("oczekiwano " + std::to_string(n) + " argumentów, podano " + std::to_string(args_.size()));
}

Status RoutineArgs::number(std::size_t i, double* out) const {
  *out = 0;
  if (i >= args_.size()) return failure("brak argumentu nr " + std::to_string(i + 1));
  if (!args_[i]) return {};
  std::string_view s = *args_[i];
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return {};
  double value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
    return failure("argument nr " + std::to_string(i + 1) + " nie jest liczbą: " + std::string(s));
  *out = value;
  return {};
}

Status RoutineArgs::integer(std::size_t i, long long* out) const {
  *out = 0;
  double value = 0;
  if (Status s = number(i, &value); !s) return s;
  // Ids travel as doubles in the module; anything beyond 2^53 or with a fraction
  // cannot be an id the module wrote.
  if (value != std::trunc(value) || std::fabs(value) > 9007199254740992.0)
    return failure("argument nr " + std::to_string(i + 1) + " nie jest liczbą całkowitą");
  *out = static_cast<long long>(value);
  return {};
}

std::string RoutineArgs::text(std::size_t i) const {
  if (i >= args_.size() || !args_[i]) return {};
  return *args_[i];
}

std::string RoutineArgs::trimmedText(std::size_t i) const {
  std::string s = text(i);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace slownik::sql
