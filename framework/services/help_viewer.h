#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "framework/runtime/event.h"
#include "framework/runtime/window.h"

namespace slownik::svc {

//! A window's help: the help file it was started with and the page (topic) the window
//! shows now. F1 in the window opens the page, which is an HTML file under the
//! resources' help/ folder named as the topic ("kar_towpom_VAT.htm").
//!
//! Belongs to the procedure that made it.
class HelpViewer {
 public:
  //! Starts the help of `window` (F1 becomes one of its alerts) with the help file as
  //! the module names it (GLO:LOCALPATH + "\vex2000.chm").
  void init(std::shared_ptr<rt::Window> window, std::string helpFile, int number = 0);
  void setTopic(std::string page);
  const std::string& topic() const { return topic_; }
  const std::string& helpFile() const { return helpFile_; }
  //! The file the topic's page is read from.
  std::string pagePath() const;

  //! Shows the current page; false when there is none (no topic, or killed).
  bool show() const;
  //! For the window's event loop: F1 pressed in the window shows the page; true when
  //! the event was that key.
  bool takeEvent(const rt::Event& e) const;
  //! Leaves the window (its F1 alert is removed); later calls do nothing.
  void kill();

 private:
  std::shared_ptr<rt::Window> window_;
  std::string helpFile_;
  std::string topic_;
  bool active_ = false;
};

//! The help file of every window of the module: GLO:LOCALPATH + "\" + "vex2000.chm".
std::string moduleHelpFile();

}  // namespace slownik::svc
