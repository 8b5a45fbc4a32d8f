// The replay script interpreter behind trakvolt-replay and the end-to-end tests.
#include "shell/replay_script.h"

#include <istream>
#include <memory>
#include <optional>
#include <sstream>

#include "base/cp1251.h"
#include "base/png_file.h"
#include "input/input_device.h"
#include "platform/headless/headless_platform.h"
#include "shell/form.h"

namespace trakvolt {

namespace {

constexpr int kTickMs = 30;
constexpr int kDefaultUntilLimit = 100000;

struct Replay {
  platform::HeadlessPlatform machine;
  FormSettings settings;
  std::unique_ptr<TMForm> form;
  platform::ShiftState shift;
  int mouse_x = 0, mouse_y = 0;
  int ticks = 0;

  TMForm& Form() {
    // The form starts at the first line that needs it, so a leading seed line takes effect.
    if (!form) form = std::make_unique<TMForm>(machine, settings);
    return *form;
  }
  void Push(platform::Event::Kind kind, int key = 0, unsigned char ch = 0) {
    platform::Event e;
    e.kind = kind;
    e.key = key;
    e.ch = ch;
    e.x = mouse_x;
    e.y = mouse_y;
    e.shift = shift;
    machine.events.Push(e);
  }
  void Tick() {
    TMForm& f = Form();
    machine.events.Advance(kTickMs);
    if (f.Terminated()) return;
    if (f.Pump()) ++ticks;
  }
};

// The character a key types, as the desktop delivers it (0: none).
unsigned char KeyChar(int key, const platform::ShiftState& shift) {
  if (shift.alt || shift.ctrl) return 0;
  switch (key) {
    case vk::Enter:
      return key_char::Enter;
    case vk::Escape:
      return key_char::Escape;
    case vk::Backspace:
      return key_char::Backspace;
    case vk::Space:
      return key_char::Space;
    default:
      break;
  }
  if (key >= vk::Letter('A') && key <= vk::Letter('Z')) {
    const char upper = static_cast<char>('A' + (key - vk::Letter('A')));
    return static_cast<unsigned char>(shift.shift ? upper : upper - 'A' + 'a');
  }
  if (key >= vk::Digit('0') && key <= vk::Digit('9'))
    return static_cast<unsigned char>('0' + (key - vk::Digit('0')));
  return 0;
}

// A value of the running game that scripts can check.
std::optional<long long> ReplayValue(TMForm& f, const std::string& name) {
  if (name == "GameState") return f.GameState;
  if (name == "SelectedCar") return f.RaceState.SelectedCar;
  if (name == "HoveredButton") return f.Menus.HoveredButton;
  if (name == "ButtonCount") return f.Menus.ButtonCount;
  if (name == "HelpPage") return f.Menus.HelpPage;
  if (name == "Sprites") return f.MSpriteEngine.Engine().Count();
  if (name == "Level") return f.RaceState.Level;
  if (name == "Lives") return f.RaceState.Lives;
  if (name == "Paused") return f.RaceState.Paused ? 1 : 0;
  if (name == "Terminated") return f.Terminated() ? 1 : 0;
  return std::nullopt;
}

void SetModifier(platform::ShiftState& s, int key, bool down) {
  if (key == vk::Alt) s.alt = down;
  if (key == vk::Ctrl) s.ctrl = down;
  if (key == vk::Shift) s.shift = down;
}

}  // namespace

int ReplayKeyCode(const std::string& name) {
  static constexpr struct {
    const char* name;
    int code;
  } kNames[] = {
      {"Up", vk::Up},       {"Down", vk::Down},           {"Left", vk::Left},
      {"Right", vk::Right}, {"Space", vk::Space},         {"Escape", vk::Escape},
      {"Enter", vk::Enter}, {"Backspace", vk::Backspace}, {"Ctrl", vk::Ctrl},
      {"Alt", vk::Alt},     {"Shift", vk::Shift},         {"Numpad8", vk::Numpad8},
  };
  for (const auto& k : kNames)
    if (name == k.name) return k.code;
  if (name.size() == 1 &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
    return name[0];
  return 0;
}

std::string ReplayResult::Summary() const {
  std::ostringstream out;
  out << "ticks " << ticks << ", GameState " << game_state << ", message boxes "
      << message_boxes.size() << "\n";
  for (const auto& m : message_boxes) out << m << "\n";
  if (!ok) out << "error: " << error << "\n";
  return out.str();
}

ReplayResult RunReplay(std::istream& script) {
  Replay r;
  ReplayResult result;
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& why) {
    result.ok = false;
    result.error = "line " + std::to_string(number) + ": " + why;
  };
  while (result.ok && std::getline(script, line)) {
    ++number;
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string command;
    if (!(words >> command)) continue;
    try {
      if (command == "seed") {
        long long value = 0;
        if (!(words >> value)) {
          fail("seed needs a number");
          break;
        }
        if (r.form) {
          fail("seed must come before the first tick");
          break;
        }
        r.settings.seed = static_cast<std::uint32_t>(value);
      } else if (command == "server") {
        std::string address;
        if (!(words >> address) || address.find(':') == std::string::npos) {
          fail("server needs HOST:PORT");
          break;
        }
        if (r.form) {
          fail("server must come before the first tick");
          break;
        }
        r.settings.score_server = address;
      } else if (command == "down" || command == "up") {
        std::string name;
        words >> name;
        const int key = ReplayKeyCode(name);
        if (key == 0) {
          fail("unknown key '" + name + "'");
          break;
        }
        r.Form();
        const bool down = command == "down";
        r.machine.input.SetKey(key, down);
        SetModifier(r.shift, key, down);
        r.Push(down ? platform::Event::Kind::KeyDown : platform::Event::Kind::KeyUp, key);
        if (down)
          if (const unsigned char ch = KeyChar(key, r.shift))
            r.Push(platform::Event::Kind::KeyPress, 0, ch);
      } else if (command == "pad") {
        // A game pad's A and B reach the menus as Enter and Escape, pressed and let go.
        std::string name;
        words >> name;
        if (name != "A" && name != "B") {
          fail("pad needs A or B");
          break;
        }
        r.Form();
        const int key = name == "A" ? vk::Enter : vk::Escape;
        r.Push(platform::Event::Kind::KeyDown, key);
        r.Push(platform::Event::Kind::KeyPress, 0, static_cast<unsigned char>(key));
        r.Push(platform::Event::Kind::KeyUp, key);
      } else if (command == "focus") {
        // Another window comes in front of the game, or the game comes back to the front.
        std::string what;
        words >> what;
        if (what != "lost" && what != "back") {
          fail("focus needs lost or back");
          break;
        }
        r.Form();
        const bool back = what == "back";
        r.machine.window.SetForeground(back);
        r.Push(back ? platform::Event::Kind::Activate : platform::Event::Kind::Deactivate);
      } else if (command == "stick") {
        platform::JoystickReading j;
        if (!(words >> j.x >> j.y)) {
          fail("stick needs X Y");
          break;
        }
        j.present = true;
        r.Form();
        r.machine.input.SetJoystick(j);
      } else if (command == "expect") {
        std::string name;
        long long wanted = 0;
        if (!(words >> name >> wanted)) {
          fail("expect needs a name and a number");
          break;
        }
        const std::optional<long long> actual = ReplayValue(r.Form(), name);
        if (!actual) {
          fail("unknown value '" + name + "'");
          break;
        }
        if (*actual != wanted)
          fail(name + " is " + std::to_string(*actual) + ", wanted " + std::to_string(wanted));
      } else if (command == "type") {
        std::string rest;
        std::getline(words, rest);
        if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        r.Form();
        for (char c : Utf8ToCp1251(rest))
          r.Push(platform::Event::Kind::KeyPress, 0, static_cast<unsigned char>(c));
      } else if (command == "mouse") {
        if (!(words >> r.mouse_x >> r.mouse_y)) {
          fail("mouse needs X Y");
          break;
        }
        r.Form();
        r.Push(platform::Event::Kind::MouseMove);
      } else if (command == "click" || command == "dblclick") {
        r.Form();
        r.Push(command == "click" ? platform::Event::Kind::Click
                                  : platform::Event::Kind::DoubleClick);
      } else if (command == "run") {
        int n = 0;
        if (!(words >> n) || n < 0) {
          fail("run needs a tick count");
          break;
        }
        for (int i = 0; i < n; ++i) r.Tick();
      } else if (command == "until") {
        int wanted = 0, limit = kDefaultUntilLimit;
        std::string max_word;
        if (!(words >> wanted)) {
          fail("until needs a GameState");
          break;
        }
        if (words >> max_word) {
          if (max_word != "max" || !(words >> limit)) {
            fail("expected 'max N'");
            break;
          }
        }
        int steps = 0;
        while (r.Form().GameState != wanted && steps < limit && !r.Form().Terminated()) {
          r.Tick();
          ++steps;
        }
        if (r.Form().GameState != wanted)
          fail("GameState " + std::to_string(r.Form().GameState) + " after " +
               std::to_string(steps) + " ticks, wanted " + std::to_string(wanted));
      } else if (command == "screenshot") {
        std::string file;
        if (!(words >> file)) {
          fail("screenshot needs a file name");
          break;
        }
        r.Form();
        WritePng(file, r.machine.display.Shown());
      } else {
        fail("unknown command '" + command + "'");
      }
    } catch (const std::exception& e) {
      fail(Cp1251ToUtf8(e.what()));
    }
  }
  r.Form();
  result.game_state = r.form->GameState;
  // The normal shutdown: the loop has ended, the exit hook runs, then the form saves and goes.
  r.form->RunExitHook();
  r.form.reset();
  result.ticks = r.ticks;
  for (const auto& box : r.machine.desktop.Boxes()) result.message_boxes.push_back(box.text);
  return result;
}

}  // namespace trakvolt
