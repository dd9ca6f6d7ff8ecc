#pragma once
#include <chrono>
#include <string>
#include <string_view>

namespace slownik::fw {

class BrowseClass;

//! Text with its letters in upper (or lower) case: the ASCII letters and the Polish ones
//! (ą ć ę ł ń ó ś ź ż). Everything else is kept as it is. Locators compare typed text
//! with values this way, whatever case the values are stored in.
std::string upperLetters(std::string_view text);
std::string lowerLetters(std::string_view text);

//! Finds rows of a list in its current sort order by a field. The field should lead
//! the order: the list seeks by it.
class Locator {
 public:
  virtual ~Locator() = default;
  //! `control` is the locator's entry ("?LOKATOR"; "" for none), `field` the record field
  //! or view name it searches ("KRA:NAZWA").
  virtual void init(std::string control, std::string field, BrowseClass& browse);

  const std::string& control() const { return control_; }
  const std::string& field() const { return field_; }
  void setField(std::string field) { field_ = std::move(field); }
  const std::string& text() const { return text_; }

  //! Whether keys typed in the list go to this locator.
  virtual bool takesListKeys() const { return false; }
  //! A key typed in the list (a letter, digit, space or Backspace); true when used.
  virtual bool takeKey(int /*keyCode*/) { return false; }
  //! The locator's entry was accepted with its new text.
  virtual void takeAccepted(std::string_view /*text*/) {}
  //! Forgets the text (the sort order changed).
  virtual void reset();
  //! The list was read again (F5): the text found a row that may not be there any more,
  //! so it goes. A filter keeps its text, which is what the list shows.
  virtual void listReloaded() { reset(); }

 protected:
  void showText();
  //! The character (UTF-8, upper case) a typed key stands for; "" when it stands for none.
  static std::string keyChar(int keyCode);

  std::string control_;
  std::string field_;
  std::string text_;
  BrowseClass* browse_ = nullptr;
};

//! A typed character moves to the next row whose field starts with it.
class StepLocator : public Locator {
 public:
  bool takesListKeys() const override { return true; }
  bool takeKey(int keyCode) override;
};

//! Every typed character extends the text; the list moves to the first row whose field
//! starts with the text typed so far (or the nearest one after it). A key typed after a
//! pause (kTypingPause), or after the text came from the locator's entry, starts anew.
class IncrementalLocator : public Locator {
 public:
  static constexpr std::chrono::milliseconds kTypingPause{1500};
  bool takesListKeys() const override { return true; }
  bool takeKey(int keyCode) override;
  void takeAccepted(std::string_view text) override;
  void reset() override;

 private:
  std::chrono::steady_clock::time_point lastKey_{};
  bool fromEntry_ = false;
};

//! The text is typed in the entry; the list moves when the entry is completed.
class EntryLocator : public Locator {
 public:
  void takeAccepted(std::string_view text) override;
};

//! Limits the list to the rows whose field starts with (or, with setContains, holds)
//! the typed text; an empty text shows every row again.
class FilterLocator : public Locator {
 public:
  void setContains(bool on = true) { contains_ = on; }
  bool contains() const { return contains_; }
  void takeAccepted(std::string_view text) override;
  void reset() override;
  void listReloaded() override {}

 private:
  bool contains_ = false;
};

}  // namespace slownik::fw
