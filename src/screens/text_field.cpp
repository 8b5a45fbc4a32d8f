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
  // The text so far ends where the frame's DrawText would leave LastTextEndX (an empty one at
  // the field's start): one key a frame and a burst within a frame take the same letters.
  if (host.TextEndX(font, text, x) < field_end - host.Menus().CursorSprite->Width)
    text += static_cast<char>(*stored);
}

}  // namespace trakvolt
