#include "framework/classes/locators.h"

#include "framework/classes/browse_class.h"
#include "framework/runtime/keys.h"

namespace slownik::fw {

void Locator::init(std::string control, std::string field, BrowseClass& browse) {
  control_ = std::move(control);
  field_ = std::move(field);
  browse_ = &browse;
  text_.clear();
}

void Locator::reset() {
  text_.clear();
  showText();
}

void Locator::showText() {
  if (!browse_ || control_.empty()) return;
  if (rt::Window* w = browse_->window()) w->setValue(control_, text_);
}

char Locator::keyChar(int keyCode) {
  if (keyCode == rt::key::Space) return ' ';
  if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9')) return static_cast<char>(keyCode);
  return 0;
}

bool StepLocator::takeKey(int keyCode) {
  char c = keyChar(keyCode);
  if (!browse_ || c == 0 || c == ' ') return false;
  text_ = std::string(1, c);
  browse_->locateStep(field_, text_);
  return true;
}

bool IncrementalLocator::takeKey(int keyCode) {
  if (!browse_) return false;
  if (keyCode == rt::key::Backspace) {
    if (text_.empty()) return true;
    text_.pop_back();
  } else if (char c = keyChar(keyCode)) {
    text_ += c;
  } else {
    return false;
  }
  showText();
  browse_->locate(text_);
  return true;
}

void IncrementalLocator::takeAccepted(std::string_view text) {
  text_ = std::string(text);
  if (browse_) browse_->locate(text_);
}

void EntryLocator::takeAccepted(std::string_view text) {
  text_ = std::string(text);
  if (browse_) browse_->locate(text_);
}

void FilterLocator::takeAccepted(std::string_view text) {
  text_ = std::string(text);
  if (browse_) browse_->filterBy(field_, text_, contains_);
}

void FilterLocator::reset() {
  bool hadText = !text_.empty();
  Locator::reset();
  if (hadText && browse_) browse_->filterBy(field_, {}, contains_);
}

}  // namespace slownik::fw
