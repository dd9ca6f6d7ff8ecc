#pragma once
#include <string>
#include <string_view>

namespace slownik::svc {

//! Every occurrence of find in text replaced by replace, scanning left to right and
//! never rescanning replaced text (so "a" → "aa" ends). An empty find leaves the
//! text as it is.
std::string REPLACEPROC2(std::string_view text, std::string_view find, std::string_view replace);

//! The text with every run of white space (blanks, tabs, line breaks, no-break
//! spaces) turned into one blank and none at either end: addresses that come from
//! registries and pasted text reach the fields in one clean line.
std::string REPLACEALLSPACE(std::string_view text);

//! Upper case of UTF-8 text for comparing names without regard to letter case:
//! ASCII letters and the Polish letters (ą ć ę ł ń ó ś ź ż); other bytes unchanged.
std::string upperPolish(std::string_view text);

}  // namespace slownik::svc
