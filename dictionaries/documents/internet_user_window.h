#pragma once
// What the list and the form of a contractor's internet users share: both show the
// contractor's name and refuse to open without it, both open from their resource with the
// dictionary's help page, and both tell failures in the same warning box.
#include <string>
#include <string_view>

#include "engine/window_frame.h"
#include "framework/classes/window_manager.h"

namespace slownik::documents {

//! A text read from the database without the blanks fixed-width columns pad it with.
std::string clipped(std::string text);

//! The box the internet-user windows tell failures in.
void internetUserWarning(std::string_view text);

//! Base of the two windows; one per procedure call, on its thread.
class InternetUserWindow : public fw::WindowManager {
 public:
  struct Layout {
    std::string procedure;   //!< name at the error handler and in the settings file
    int module = 0;          //!< "slownik$slownNNN"
    std::string windowType;  //!< "P1$BROWSEWINDOW", "P1$FORMWINDOW"
    int minWidth = 0;        //!< 0 keeps the resource's
    int minHeight = 0;
    std::string focusControl;  //!< where the focus goes when the host re-activates the window
  };

  InternetUserWindow(Layout layout, double contractorId);

  int takeEvent(const rt::Event& e) override;
  int takeWindowEvent(const rt::Event& e) override;
  int kill() override;

 protected:
  //! Names the procedure, takes the request and clears the request variables; then reads
  //! the contractor's name. False after the warning that says why the window can't open.
  bool begin();
  //! Opens the window with its frame, shows the contractor's name, starts help and the
  //! focus highlighter. False when the resource could not be opened.
  bool openWindow(bool hasList);

  double contractorId() const { return contractorId_; }

 private:
  Layout layout_;
  double contractorId_;
  std::string contractorName_;
  engine::WindowFrame frame_;
};

}  // namespace slownik::documents
