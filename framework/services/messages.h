#pragma once
#include <string_view>

#include "framework/runtime/front_end.h"

namespace slownik::svc {

//! Answers of MSG_PYTANIE.
inline constexpr int kYes = rt::button::Yes;  // 2
inline constexpr int kNo = rt::button::No;    // 4

//! A warning with an OK button ("|" starts a new line); returns when it is answered.
void MSG_OSTRZEZENIE(std::string_view text);
//! Information with an OK button.
void MSG_INFORMACJA(std::string_view text);
//! A yes/no question, titled `caption` when given; returns kYes (2) or kNo (4).
int MSG_PYTANIE(std::string_view text, std::string_view caption = {});

//! The plain warning box some windows show: "TRAMEL: Ostrzeżenie", warning icon, OK.
void warningBox(std::string_view text);
//! The plain question box: "TRAMEL: Pytanie", Yes and No, `defaultButton` preselected
//! (deletes that can't be undone preselect No). Returns the button pressed.
int questionBox(std::string_view text, int defaultButton = rt::button::Yes);

}  // namespace slownik::svc
