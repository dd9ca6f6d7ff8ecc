#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace slownik::rt {

//! The runtime's key codes: a virtual-key number (0-255) plus the modifiers Shift 256,
//! Ctrl 512 and Alt 1024 held with it. Mouse buttons use the low numbers, so that a
//! Shift+left click is 257 and a Ctrl+left click 513, as the header sorter expects.
namespace key {

inline constexpr int ShiftMod = 256;
inline constexpr int CtrlMod = 512;
inline constexpr int AltMod = 1024;

inline constexpr int MouseLeft = 1;
inline constexpr int MouseRight = 2;
inline constexpr int MouseCenter = 4;
inline constexpr int MouseLeft2 = 5;  //!< double click with the left button

inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Esc = 27;
inline constexpr int Space = 32;
inline constexpr int PgUp = 33;
inline constexpr int PgDn = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Ins = 45;
inline constexpr int Del = 46;
inline constexpr int F1 = 112;
inline constexpr int F2 = 113;
inline constexpr int F3 = 114;
inline constexpr int F4 = 115;
inline constexpr int F5 = 116;
inline constexpr int F6 = 117;
inline constexpr int F7 = 118;
inline constexpr int F8 = 119;
inline constexpr int F9 = 120;
inline constexpr int F10 = 121;
inline constexpr int F11 = 122;
inline constexpr int F12 = 123;

//! A letter or digit key: letter('B') is the key code of B (its upper-case character).
constexpr int letter(char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

//! The Polish letters have no keys of their own (a Polish keyboard types ą as AltGr+A):
//! each has a code in the range no key uses, 151-159, one code for both cases, as 'A'
//! stands for a and A. Ą Ć Ę Ł Ń Ó Ś Ź Ż in that order.
inline constexpr int FirstPolishLetter = 151;
inline constexpr int LastPolishLetter = 159;
constexpr bool isPolishLetter(int k) { return (k & 0xFF) >= FirstPolishLetter && (k & 0xFF) <= LastPolishLetter; }

inline constexpr int ShiftTab = ShiftMod + Tab;
inline constexpr int ShiftEnter = ShiftMod + Enter;  //!< 269
//! 272: what pressing Shift itself reports (its own virtual key 16 with the Shift
//! modifier); pressed after Shift+Enter in multi-line text.
inline constexpr int ShiftKeyDown = ShiftMod + 16;
inline constexpr int ShiftF10 = ShiftMod + F10;              //!< 377
inline constexpr int CtrlShiftF10 = CtrlMod + ShiftMod + F10;  //!< 889
inline constexpr int AltAlone = AltMod;                      //!< 1024: Alt pressed and released alone
inline constexpr int History = CtrlMod + 222;                //!< 734: recall a field from the last saved record
inline constexpr int ShiftMouseLeft = ShiftMod + MouseLeft;  //!< 257
inline constexpr int CtrlMouseLeft = CtrlMod + MouseLeft;    //!< 513

constexpr int withCtrl(int k) { return k | CtrlMod; }
constexpr int withShift(int k) { return k | ShiftMod; }
constexpr int withAlt(int k) { return k | AltMod; }
constexpr int base(int k) { return k & 0xFF; }
constexpr bool isMouse(int k) { return base(k) >= MouseLeft && base(k) <= MouseLeft2 && base(k) != 3; }

}  // namespace key

//! Reads a key as resources and people write it: "Ins", "F2", "Enter", "Esc", "Ctrl+B",
//! "Shift+F10", "Ctrl+Shift+F10", a letter or digit, or a plain number ("734").
//! Empty or unknown text gives nullopt.
std::optional<int> keyFromName(std::string_view name);

//! The label of a key code as shown beside buttons: "Ins", "Ctrl+R", "Shift+F2".
std::string keyName(int code);

//! The key code of a typed character: a letter (either case, Polish ones included), a
//! digit or a space; nullopt for anything else. `utf8` holds one character.
std::optional<int> keyOfCharacter(std::string_view utf8);
//! What a key types when a list takes it as text: the upper-case letter (UTF-8), the
//! digit or the space; "" for a key that types nothing there (any modifier but Shift).
std::string characterOfKey(int code);

}  // namespace slownik::rt
