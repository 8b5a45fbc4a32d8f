// The virtual-key codes of the game's key tables and key events (the Windows numbering, which
// the options file stores): made by the platforms, read by the input device and the screens.
#pragma once

namespace trakvolt::vk {

constexpr int Backspace = 8, Tab = 9, Enter = 13, Shift = 16, Ctrl = 17, Alt = 18, Pause = 19,
              CapsLock = 20, Escape = 27, Space = 32, PageUp = 33, PageDown = 34, End = 35,
              Home = 36, Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46;
// The numeric pad: digits 0..9, then * + - . /.
constexpr int Numpad0 = 96, Numpad8 = 104, Multiply = 106, Add = 107, Subtract = 109, Decimal = 110,
              Divide = 111;
constexpr int F1 = 112;  // F1..F12 follow in order
// The US keys of signs: ; = , - . / ` [ \ ] '.
constexpr int Semicolon = 186, Equals = 187, Comma = 188, Minus = 189, Period = 190, Slash = 191,
              Grave = 192, LeftBracket = 219, Backslash = 220, RightBracket = 221, Apostrophe = 222;

constexpr int Letter(char c) { return c; }  // 'A'..'Z' are their own codes
constexpr int Digit(char c) { return c; }   // so are '0'..'9'
constexpr int NumpadDigit(int d) { return Numpad0 + d; }

}  // namespace trakvolt::vk

// The control characters a key press event carries for Backspace, Enter and Escape (text input
// has no character of its own for them), and the space.
namespace trakvolt::key_char {
constexpr char Backspace = '\b', Enter = '\r', Escape = '\x1b', Space = ' ';
}  // namespace trakvolt::key_char
