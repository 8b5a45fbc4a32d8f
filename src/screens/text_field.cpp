// The characters the input fields admit, their typing and their cursor's blink.
#include "screens/text_field.h"

namespace trakvolt {

std::string DeleteLastChar(const std::string& text) {
  return text.empty() ? text : text.substr(0, text.size() - 1);
}

void BlinkCursor(TScreenHost& host) {
  TMenus& m = host.Menus();
  TCaptionSprite& cursor = *m.CursorSprite;
  const int interval = host.FrameTimer().Interval();
  if (cursor.Visible) {
    m.CursorBlinkTimer -= interval;
    if (m.CursorBlinkTimer <= 0) {
      cursor.Visible = false;
      m.CursorBlinkTimer = kBlinkMs;
    }
  }
  if (!cursor.Visible) {
    m.CursorBlinkTimer -= interval;
    if (m.CursorBlinkTimer <= 0) {
      cursor.Visible = true;
      m.CursorBlinkTimer = kBlinkMs;
    }
  }
}

void TypeIntoField(TScreenHost& host, std::string& text, unsigned char ch, int font, int x,
                   int field_end) {
  const auto stored = FieldCharacter(ch);
  if (!stored) return;
  const std::string longer = text + static_cast<char>(*stored);
  if (host.TextEndX(font, longer, x) <= field_end - host.Menus().CursorSprite->Width)
    text = longer;
}

}  // namespace trakvolt
