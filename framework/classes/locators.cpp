#include "framework/classes/locators.h"

#include <utility>

#include "framework/classes/browse_class.h"
#include "framework/runtime/keys.h"

namespace slownik::fw {
namespace {

// The Polish letters outside ASCII in UTF-8, lower and upper case.
constexpr std::pair<std::string_view, std::string_view> kPolishLetters[] = {
    {"ą", "Ą"}, {"ć", "Ć"}, {"ę", "Ę"}, {"ł", "Ł"}, {"ń", "Ń"},
    {"ó", "Ó"}, {"ś", "Ś"}, {"ź", "Ź"}, {"ż", "Ż"},
};

std::string withLetterCase(std::string_view text, bool upper) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char c = text[i];
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    bool replaced = false;
    for (const auto& [lower, capital] : kPolishLetters) {
      std::string_view from = upper ? lower : capital;
      if (text.substr(i, from.size()) == from) {
        out += upper ? capital : lower;
        i += from.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      out += c;
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string upperLetters(std::string_view text) { return withLetterCase(text, true); }
std::string lowerLetters(std::string_view text) { return withLetterCase(text, false); }

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

std::string Locator::keyChar(int keyCode) {
  if (keyCode & (rt::key::ShiftMod | rt::key::CtrlMod | rt::key::AltMod)) return {};
  return rt::characterOfKey(keyCode);
}

bool StepLocator::takeKey(int keyCode) {
  const std::string c = keyChar(keyCode);
  if (!browse_ || c.empty() || c == " ") return false;
  text_ = c;
  browse_->locateStep(field_, text_);
  return true;
}

bool IncrementalLocator::takeKey(int keyCode) {
  if (!browse_) return false;
  const auto now = std::chrono::steady_clock::now();
  // Typing in the list after a pause, or after the entry was used, starts a new search:
  // it never extends text the person no longer has in mind.
  if (fromEntry_ || now - lastKey_ > kTypingPause) text_.clear();
  fromEntry_ = false;
  lastKey_ = now;
  if (keyCode == rt::key::Backspace) {
    if (text_.empty()) return true;
    // A whole character goes, not the last byte of a Polish letter.
    std::size_t end = text_.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text_[end]) & 0xC0) == 0x80) --end;
    text_.erase(end);
  } else if (std::string c = keyChar(keyCode); !c.empty()) {
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
  fromEntry_ = true;
  if (browse_) browse_->locate(text_);
}

void IncrementalLocator::reset() {
  Locator::reset();
  fromEntry_ = false;
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
