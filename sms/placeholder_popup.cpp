#include "sms/placeholder_popup.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "framework/classes/popup_class.h"
#include "framework/runtime/window.h"
#include "framework/sql/text.h"

namespace slownik::sms {
namespace {

// Longest prefix of UTF-8 text that fits `bytes` bytes without splitting a character.
std::size_t fittingBytes(std::string_view text, std::size_t bytes) {
  if (text.size() <= bytes) return text.size();
  std::size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return end;
}

}  // namespace

bool choosePlaceholder(std::string_view context, CursorText& text, std::size_t maxChars) {
  fw::PopupClass popup;
  popup.init(rt::activeWindow());
  for (const PlaceholderItem& item : placeholderMenu(context)) popup.addItem(item.text, item.name);
  std::string chosen = popup.ask();
  popup.kill();
  if (!placeholderFor(chosen)) return false;
  text = insertPlaceholder(std::move(text), chosen, maxChars);
  return true;
}

}  // namespace slownik::sms

extern "C" void SMS_POPUPSRC(const char* context, std::int32_t* position, char* text, std::int32_t capacity) {
  using namespace slownik;
  if (!position || !text || capacity < 1) return;
  std::size_t room = static_cast<std::size_t>(capacity) - 1;
  sms::CursorText edited{std::string(text, strnlen(text, room)), *position};
  if (!sms::choosePlaceholder(context ? context : "", edited, room)) return;
  std::size_t bytes = sms::fittingBytes(edited.text, room);
  std::memcpy(text, edited.text.data(), bytes);
  text[bytes] = '\0';
  long length = static_cast<long>(sql::utf8Length(std::string_view(text, bytes)));
  *position = static_cast<std::int32_t>(std::min(edited.position, length + 1));
}
