#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/runtime/front_end.h"
#include "framework/runtime/window.h"

namespace slownik::fw {

//! A popup menu built item by item and shown through the front-end.
//!
//! Items are known by name. A name left empty is made from the text (its letters and
//! digits), so "Eksport do Excela" is "EksportdoExcela"; the text "-" makes a separator.
//! Levels nest: an item of level n+1 that follows one of level n belongs to its submenu.
//! A mimic item stands for a button of the window: it is offered only while the button is
//! visible, greyed while it is disabled, and choosing it presses the button, so the window
//! handles the choice exactly as a click.
//!
//! Belongs to one procedure thread, like its window.
class PopupClass {
 public:
  struct Item {
    std::string name;
    std::string text;
    std::string icon;
    int level = 1;
    bool enabled = true;
    bool checked = false;
    std::string button;  //!< the button a mimic item presses; "" for a plain item
    bool isSeparator() const { return text == "-"; }
  };

  //! Starts an empty menu over `window` (needed for mimic items; may be null otherwise).
  void init(std::shared_ptr<rt::Window> window = {});
  //! Appends an item; returns its name (made unique by a number when taken).
  std::string addItem(std::string text, std::string name = {}, int level = 1);
  //! Appends an item that presses `button`; its text is the button's caption unless given.
  std::string addItemMimic(std::string name, std::string button, std::string text = {});
  //! False when no item has that name.
  bool setText(std::string_view name, std::string text);
  bool setIcon(std::string_view name, std::string icon);
  bool setLevel(std::string_view name, int level);
  bool setItemEnabled(std::string_view name, bool enabled);
  bool setItemChecked(std::string_view name, bool checked);
  bool has(std::string_view name) const { return find(name) != nullptr; }

  //! Shows the menu and returns the chosen item's name ("" when nothing was chosen).
  //! A chosen mimic item has pressed its button before this returns.
  std::string ask();
  //! Forgets every item.
  void kill();

  const std::vector<Item>& items() const { return items_; }
  //! The menu as the front-end gets it, with the name of each choosable entry in the
  //! order of rt::popupChoices().
  std::vector<rt::PopupItem> menu(std::vector<std::string>* choiceNames = nullptr) const;

 private:
  Item* find(std::string_view name);
  const Item* find(std::string_view name) const;
  std::string uniqueName(std::string wanted) const;

  std::shared_ptr<rt::Window> window_;
  std::vector<Item> items_;
};

}  // namespace slownik::fw
