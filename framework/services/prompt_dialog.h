#pragma once
// A small dialog made in code for a question or two: each field a prompt and its entry
// in a row of its own, then the button that accepts (the default one) and "Anuluj" (Esc).
#include <functional>
#include <string>
#include <vector>

#include "framework/runtime/window.h"

namespace slownik::svc {

struct PromptField {
  std::string name;     //!< the entry ("?NIP"); its prompt is name + ":PROMPT"
  std::string caption;  //!< "N&IP"
  std::string picture;  //!< "@s20"
  std::string tip;
  std::string value;    //!< what the entry offers at opening
};

struct PromptDialog {
  std::string resource;  //!< names the window ("slownik$gus"): its settings section
  std::string caption;
  int minWidth = 200;
  int minHeight = 50;
  std::vector<PromptField> fields;
  std::string acceptCaption;  //!< the accepting button's caption ("&Pobierz"), named ?OK
};

//! Opens the dialog on the calling thread, as a window of its own over the caller's, with
//! the focus in its first field, and runs it until `accept`, asked at each press of the
//! accepting button, answers true (then true), or the person cancels ("Anuluj", Esc or
//! the close box: false). When `accept` refuses, it tells the person why and puts the
//! focus where the fault is; the dialog stays.
bool runPromptDialog(const PromptDialog& dialog, const std::function<bool(rt::Window&)>& accept);

}  // namespace slownik::svc
