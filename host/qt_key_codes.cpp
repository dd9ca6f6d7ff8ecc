#include "host/qt_key_codes.h"

#include <QKeyEvent>

#include "framework/runtime/keys.h"

namespace slownik::host {

int runtimeKeyCode(const QKeyEvent& event) {
  namespace key = rt::key;
  const int k = event.key();
  // A Polish letter is known by what it types: the keys and modifiers that type it
  // (AltGr, Ctrl+Alt, a dead key) differ from keyboard to keyboard.
  if (auto polish = rt::keyOfCharacter(event.text().toStdString()); polish && rt::key::isPolishLetter(*polish))
    return *polish;
  int code = 0;
  if (k >= Qt::Key_A && k <= Qt::Key_Z) code = 'A' + (k - Qt::Key_A);
  else if (k >= Qt::Key_0 && k <= Qt::Key_9) code = '0' + (k - Qt::Key_0);
  else if (k >= Qt::Key_F1 && k <= Qt::Key_F12) code = key::F1 + (k - Qt::Key_F1);
  else {
    switch (k) {
      case Qt::Key_Backspace: code = key::Backspace; break;
      case Qt::Key_Tab: code = key::Tab; break;
      case Qt::Key_Backtab: code = key::Tab; break;  // Shift is among the modifiers
      case Qt::Key_Return:
      case Qt::Key_Enter: code = key::Enter; break;
      case Qt::Key_Escape: code = key::Esc; break;
      case Qt::Key_Space: code = key::Space; break;
      case Qt::Key_PageUp: code = key::PgUp; break;
      case Qt::Key_PageDown: code = key::PgDn; break;
      case Qt::Key_End: code = key::End; break;
      case Qt::Key_Home: code = key::Home; break;
      case Qt::Key_Left: code = key::Left; break;
      case Qt::Key_Up: code = key::Up; break;
      case Qt::Key_Right: code = key::Right; break;
      case Qt::Key_Down: code = key::Down; break;
      case Qt::Key_Insert: code = key::Ins; break;
      case Qt::Key_Delete: code = key::Del; break;
      case Qt::Key_Apostrophe:
      case Qt::Key_QuoteDbl: code = 222; break;  // the key of Ctrl+' (field history)
      default: return 0;
    }
  }
  const Qt::KeyboardModifiers m = event.modifiers();
  if (m & Qt::ShiftModifier) code |= key::ShiftMod;
  if (m & Qt::ControlModifier) code |= key::CtrlMod;
  if (m & Qt::AltModifier) code |= key::AltMod;
  return code;
}

int runtimeMouseCode(bool shift, bool ctrl) {
  int code = rt::key::MouseLeft;
  if (shift) code |= rt::key::ShiftMod;
  if (ctrl) code |= rt::key::CtrlMod;
  return code;
}

}  // namespace slownik::host
