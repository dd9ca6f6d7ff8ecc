#pragma once
#include <memory>
#include <string>

#include "framework/classes/browse_class.h"
#include "framework/classes/list_queue.h"
#include "framework/classes/locators.h"
#include "framework/data/view_manager.h"
#include "framework/runtime/event.h"

namespace slownik::engine {
class ListWindow;
}

namespace slownik::banking {

//! The second tab of the contractor's account list: the contractor's virtual accounts
//! (?LIST1), which this module only lists, deletes and flags as default, with the
//! buttons ?DELETE:2 and ?DOMYSLNY:2 and a popup of its own. Lives in the list window
//! it is started in, on that window's thread.
class VirtualAccountList {
 public:
  VirtualAccountList();
  ~VirtualAccountList();

  //! Fills ?LIST1 with the rows of `contractor`; `readOnly` (list mode 6) disables the buttons.
  void start(engine::ListWindow& window, double contractor, bool readOnly);
  //! The keys, clicks and buttons of the tab; true when the event was used up.
  bool takeEvent(const rt::Event& e);
  //! Enables the buttons while the list has rows.
  void updateButtons();
  void reload();

 private:
  class Browse;
  double selectedId();
  void remove();
  void toggleDefault();
  void copyNumber();
  void popup();

  engine::ListWindow* window_ = nullptr;
  std::unique_ptr<data::ViewManager> view_;
  fw::ListQueue queue_;
  std::unique_ptr<Browse> browse_;
  fw::StepLocator locator_;
  bool readOnly_ = false;
};

}  // namespace slownik::banking
