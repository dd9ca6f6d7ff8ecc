#include "dictionaries/banking/kir_progress_window.h"

#include <string>

#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr std::size_t kCounterChars = 20;

}  // namespace

KirProgressWindow::KirProgressWindow() { window_.open(std::string(kTitle)); }

void KirProgressWindow::begin(long total) {
  window_.setTotal(total);
  window_.setProgress(0);
}

void KirProgressWindow::step(long counter, long total, std::string_view name) {
  window_.setProgress(counter);
  window_.setText(std::string(name));
  window_.setCounter(sql::truncateUtf8(std::to_string(counter) + "/" + std::to_string(total), kCounterChars));
}

}  // namespace slownik::banking
