#include "engine/focus_highlighter.h"

#include "framework/runtime/decimal.h"
#include "framework/runtime/picture.h"

namespace slownik::engine {

namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

FocusHighlighter::~FocusHighlighter() { stop(); }

bool FocusHighlighter::highlights(rt::ControlKind kind) {
  using K = rt::ControlKind;
  switch (kind) {
    case K::Entry:
    case K::Text:
    case K::Spin:
    case K::Combo:
    case K::Check:
    case K::Radio:
    case K::List:
      return true;
    default:
      // Strings, images, lines, boxes, ellipses, buttons, prompts, groups, panels,
      // drop lists, embedded regions, progress bars and the layout containers.
      return false;
  }
}

bool FocusHighlighter::lacksValue(const std::string& picture, const std::string& value) {
  std::string_view v = trimmed(value);
  if (v.empty()) return true;
  auto p = rt::Picture::fromString(picture.empty() ? "@s255" : picture);
  if (!p) return false;
  switch (p->kind()) {
    case rt::Picture::Kind::Number:
    case rt::Picture::Kind::Exponent: {
      // A number field holds 0 until something is typed: a required one is not filled
      // in yet. (Marking every required number red, filled or not, would tell the user
      // a field is missing when it is not.)
      auto d = rt::Decimal::parse(v);
      return d && d->isZero();
    }
    case rt::Picture::Kind::Date:
    case rt::Picture::Kind::Time:
      return v == "0";
    default:
      return false;
  }
}

void FocusHighlighter::start(std::shared_ptr<rt::Window> window, FocusStyle style) {
  stop();
  window_ = std::move(window);
  style_ = style;
  if (window_) moveTo(window_->focus());
}

void FocusHighlighter::takeEvent(const rt::Event& e) {
  if (!window_) return;
  switch (e.code) {
    case rt::event::Selecting:
    case rt::event::Selected:
      if (e.isFieldEvent()) moveTo(e.control);
      break;
    case rt::event::Sized:
    case rt::event::Redraw:
      if (marked_) mark();
      break;
    default:
      break;
  }
}

void FocusHighlighter::stop() {
  if (!window_) return;
  unmark();
  current_.clear();
  window_.reset();
}

void FocusHighlighter::moveTo(const std::string& control) {
  if (control == current_ && marked_) {
    mark();  // the same control again: its value may have changed the frame
    return;
  }
  unmark();
  current_ = control;
  auto c = window_->control(control);
  if (!c || !highlights(c->kind)) return;
  ownBackground_ = c->backColor;
  ownWeight_ = c->fontWeight;
  marked_ = true;
  mark();
}

void FocusHighlighter::mark() {
  auto c = window_->control(current_);
  if (!c) {  // destroyed while focused: nothing left to give back
    marked_ = false;
    return;
  }
  window_->setBackColor(current_, style_.background);
  bool missing = c->required && lacksValue(c->picture, c->value);
  window_->setFrameColor(current_, missing ? style_.missingFrame : rt::kNoColor);
  if (style_.bold) window_->setFontWeight(current_, rt::kBoldWeight);
}

void FocusHighlighter::unmark() {
  if (!marked_) return;
  marked_ = false;
  if (window_->isClosed() || !window_->has(current_)) return;
  window_->setBackColor(current_, ownBackground_);
  window_->setFontWeight(current_, ownWeight_);
  window_->setFrameColor(current_, rt::kNoColor);
}

}  // namespace slownik::engine
