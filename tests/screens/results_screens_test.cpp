// The high-score screen, the name entry and the result-sending question, over the headless
// machine, with a score server on the loopback interface where a result is sent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "persist/high_score_file.h"
#include "persist/online_service.h"
#include "persist/save_data.h"
#include "persist/save_file.h"
#include "persist/score_payload.h"
#include "race/race_run.h"
#include "screen_fixture.h"
#include "screens/high_scores_screen.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "support/loopback_server.h"

using namespace trakvolt;
using K = platform::Event::Kind;
using testing_support::LoopbackServer;

namespace {

constexpr unsigned char kEnter = 13, kEscape = 27, kBackspace = 8;
constexpr const char* kNoConnection = "Не могу соединиться с сервером!";
constexpr const char* kNotStored = "Сервер не принял результат!";

// The table's ten rows (the eleventh is never saved).
HighScoreTable Shown(HighScoreTable table) {
  table.Slot(11) = {};
  return table;
}
// The ten rows the save files on disk hold now.
HighScoreTable TableOnDisk() {
  HighScoreTable table;
  TGameOptions options;
  std::string check;
  const SaveDataLoad loaded = LoadSaveData(kSaveFolder, table, options, check);
  EXPECT_TRUE(loaded.messages.empty());
  return Shown(table);
}

class Results : public testing_support::ScreenTest {
 protected:
  // The run is over with `score` points: the menu is gone as after a race, and the run's end
  // hands over.
  void EndRunWith(std::int32_t score) {
    UntilInteractive();
    TearDownMainMenu(form.Screens);
    form.RaceState.Score = score;
    ShowRunResult(form.Screens);
    Tick();
  }
  void TypeText(const std::string& text) {
    for (const char c : text) Type(static_cast<unsigned char>(c));
  }
  int NameEnd(const std::string& name) { return form.Text.TextEndX(form.MImageList, 4, name, 400); }
  int FieldLimit() { return 579 - form.Menus.CursorSprite->Width; }
};

TEST_F(Results, NameEntryStartsWithNonameAndEditsAtItsEnd) {
  EndRunWith(1000);
  ASSERT_EQ(form.GameState, state::NameEntry);
  EXPECT_EQ(form.PlayerName, "NONAME");
  EXPECT_EQ(form.Menus.CursorSprite->X, NameEnd("NONAME"));
  Type('a');
  EXPECT_EQ(form.PlayerName, "NONAMEA");
  Type(kBackspace);
  for (int i = 0; i < 6; ++i) Type(kBackspace);
  EXPECT_EQ(form.PlayerName, "");
  Tick();
  EXPECT_EQ(form.Menus.CursorSprite->X, 398);
  EXPECT_EQ(form.Menus.CursorSprite->Y, 265);
  Type(kBackspace);  // nothing left to delete
  EXPECT_EQ(form.PlayerName, "");
}

TEST_F(Results, OnlyLettersAndTheSpaceAreTakenAsCapitals) {
  EndRunWith(1000);
  form.StopSoundByName("Button_Pressed");
  Type('1');  // every key clicks first, even one that is then ignored
  EXPECT_TRUE(Playing("Button_Pressed"));
  for (int i = 0; i < 6; ++i) Type(kBackspace);
  // a, 1, !, а, Z, space, ё, я, |, Ё, digits
  TypeText(
      "a1!\xE0Z \xB8\xFF|\xA8"
      "09");
  EXPECT_EQ(form.PlayerName, "A\xC0Z \xDF");
  EXPECT_EQ(form.GameState, state::NameEntry);  // Escape and the rest do not leave it
  Type(kEscape);
  EXPECT_EQ(form.GameState, state::NameEntry);
}

TEST_F(Results, TheNameStopsAtTheFieldsEndEvenForABurstOfKeys) {
  EndRunWith(1000);
  TypeText(std::string(60, 'W'));  // faster than the frames: nothing drawn in between
  const std::string full = form.PlayerName;
  EXPECT_LT(full.size(), 66u);
  // The last letter was taken while the name before it ended left of the limit.
  EXPECT_LT(NameEnd(full.substr(0, full.size() - 1)), FieldLimit());
  EXPECT_GE(NameEnd(full), FieldLimit());
  TypeText(std::string(20, 'I'));  // once the name reaches the limit, not even the narrowest
  EXPECT_EQ(form.PlayerName, full);
  Tick(2);
  EXPECT_LE(form.Menus.CursorSprite->X + form.Menus.CursorSprite->Width, 579);
  Type('W');
  EXPECT_EQ(form.PlayerName, full);
  Type(kBackspace);  // Backspace still works at the end of the field
  Type(kBackspace);
  EXPECT_EQ(form.PlayerName, full.substr(0, full.size() - 2));
  Type('I');
  EXPECT_EQ(form.PlayerName, full.substr(0, full.size() - 2) + "I");
}

TEST_F(Results, EnterStoresTheResultOnDiskAtOnceAndAsks) {
  EndRunWith(1100);
  for (int i = 0; i < 6; ++i) Type(kBackspace);
  Type(kEnter);  // an empty name is a name
  EXPECT_EQ(form.GameState, state::SendResults);
  EXPECT_EQ(form.HighScores.Slot(6).Name, "");
  EXPECT_EQ(form.HighScores.Slot(6).Score, 1100);
  EXPECT_EQ(form.HighScores.Slot(5).Score, 1200);
  EXPECT_EQ(form.Menus.CursorSprite, nullptr);
  // Already on disk, as the pair the exit writes: a crash now loses nothing.
  EXPECT_EQ(TableOnDisk(), Shown(form.HighScores));
}

TEST_F(Results, AnEqualScoreGoesBelowTheOlderOne) {
  EndRunWith(1800);
  Type(kEnter);
  EXPECT_EQ(form.HighScores.Slot(2).Name, "\xD2\xD3\xD0\xC1");  // ТУРБ
  EXPECT_EQ(form.HighScores.Slot(3).Name, "NONAME");
  EXPECT_EQ(form.HighScores.Slot(3).Score, 1800);
  EXPECT_EQ(form.HighScores.Slot(11).Score, 200);
}

TEST_F(Results, ARunThatDoesNotQualifyShowsTheTableAfterTheIntro) {
  EndRunWith(200);
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(form.Menus.HoveredButton, button::HighScores);
  EXPECT_NE(form.Menus.MenuPhase, menu_phase::Interactive);  // the intro plays first
  for (int i = 0; i < 200 && form.GameState == state::MainMenu; ++i) Tick();
  EXPECT_EQ(form.GameState, state::HighScores);
  EXPECT_EQ(form.Menus.MenuPhase, menu_phase::Interactive);
}

TEST_F(Results, NoMusicDuringTheNameEntryAndTheQuestion) {
  UntilInteractive();
  ASSERT_NE(form.Audio.CurrentSong, 0u);  // the menu's music
  TearDownMainMenu(form.Screens);
  form.RaceState.Score = 1000;
  ShowRunResult(form.Screens);
  Tick(3);
  EXPECT_EQ(form.Audio.CurrentSong, 0u);
  Type(kEnter);
  Tick(3);
  EXPECT_EQ(form.Audio.CurrentSong, 0u);
  Press(vk::Right);  // Cancel
  Type(kEscape);     // every key clicks the highlighted button
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_NE(form.Audio.CurrentSong, 0u);  // the rebuilt menu plays again
  EXPECT_TRUE(machine.desktop.Boxes().empty());
}

TEST_F(Results, HighScoreButtonShowsTheTableAndItsButtons) {
  OpenFromMenu(button::HighScores);
  ASSERT_EQ(form.GameState, state::HighScores);
  EXPECT_EQ(form.Menus.ButtonCount, 8);
  EXPECT_EQ(form.Menus.HoveredButton, 8);
  EXPECT_EQ(form.Menus.Buttons[7]->X, 27);
  EXPECT_EQ(form.Menus.Buttons[8]->X, 283);
  // The last text of a frame is row 10's score, left-aligned at x 400.
  EXPECT_EQ(form.Text.LastTextEndX(), form.Text.TextEndX(form.MImageList, 3, "200", 400));
  form.HighScores.Slot(10).Score = 1234567;
  Tick();
  EXPECT_EQ(form.Text.LastTextEndX(), form.Text.TextEndX(form.MImageList, 3, "1234567", 400));
  Type(kEnter);  // on the online table
  EXPECT_EQ(machine.desktop.Opened().back(), OnlineTableUrl(DefaultScoreServer()));
  EXPECT_EQ(form.GameState, state::HighScores);
}

TEST_F(Results, ResetShowsTheDefaultsAndWritesThemOnlyAtExit) {
  EndRunWith(5000);
  Type(kEnter);  // saved at once with the new result
  Press(vk::Right);
  Type(kEnter);  // Cancel
  for (int i = 0; i < 200 && form.GameState != state::HighScores; ++i) Tick();
  ASSERT_EQ(form.GameState, state::HighScores);
  const HighScoreTable with_result = Shown(form.HighScores);
  ASSERT_EQ(with_result.Slot(1).Score, 5000);
  PointAt(7);
  form.MDisplayClick();
  HighScoreTable defaults = with_result;
  ResetHighScores(defaults);
  EXPECT_EQ(Shown(form.HighScores), defaults);
  Tick();
  EXPECT_EQ(form.GameState, state::HighScores);
  EXPECT_EQ(TableOnDisk(), with_result);
  ASSERT_TRUE(form.FormDestroy());
  EXPECT_EQ(TableOnDisk(), defaults);
}

// The table as the reset button's copy "hs.reset" holds it.
HighScoreTable ResetCopy() {
  HighScoreTable table;
  ParseHighScores(ReadSaveFile("Data/Save/hs.reset"), table);
  return Shown(table);
}

class ResetButton : public Results {
 protected:
  // A run of `score` entered and not sent, then the table that opens after it with the
  // highlight on the reset button.
  void TableAfterRun(std::int32_t score) {
    EndRunWith(score);
    ASSERT_EQ(form.GameState, state::NameEntry);
    Type(kEnter);
    Press(vk::Right);
    Type(kEnter);  // Cancel
    for (int i = 0; i < 200 && form.GameState != state::HighScores; ++i) Tick();
    ASSERT_EQ(form.GameState, state::HighScores);
    PointAt(7);
    Tick();
  }
  static HighScoreTable Defaults() {
    HighScoreTable table;
    ResetHighScores(table);
    return table;
  }
};

TEST_F(ResetButton, OtherKeysOnItLeaveTheTable) {
  TableAfterRun(5000);
  const HighScoreTable before = form.HighScores;
  ASSERT_NE(Shown(before), Defaults());
  // Letters (Latin and Cyrillic, as when steering or typing on), a digit, Backspace, Tab.
  for (const unsigned char key : std::string{'a', 'Z', '\xE0', '1', char{kBackspace}, '\t'}) {
    SCOPED_TRACE(static_cast<int>(key));
    Type(key);
    Tick();
    EXPECT_EQ(form.HighScores, before);
    EXPECT_EQ(form.GameState, state::HighScores);
    EXPECT_EQ(form.Menus.HoveredButton, 7);
  }
  EXPECT_FALSE(std::filesystem::exists("Data/Save/hs.reset"));
  ASSERT_TRUE(form.FormDestroy());
  EXPECT_EQ(TableOnDisk(), Shown(before));
}

TEST_F(ResetButton, EnterSpaceOrAClickResetsAndKeepsTheTableItReplaced) {
  const struct {
    const char* how;
    unsigned char key;  // 0: a click
  } acts[] = {{"Enter", kEnter}, {"Space", ' '}, {"click", 0}};
  std::int32_t score = 5000;
  HighScoreTable replaced;
  for (const auto& act : acts) {
    SCOPED_TRACE(act.how);
    TableAfterRun(score);
    replaced = Shown(form.HighScores);
    if (act.key != 0)
      Type(act.key);
    else
      form.MDisplayClick();
    EXPECT_EQ(Shown(form.HighScores), Defaults());
    // Each reset keeps the table it replaced, over the copy of an earlier one.
    EXPECT_EQ(ResetCopy(), replaced);
    // Resetting the defaults again (a double click) keeps that copy.
    form.MDisplayClick();
    EXPECT_EQ(ResetCopy(), replaced);
    Type(kEscape);  // back to the menu for the next run
    score += 100;
  }
  // The exit writes the defaults; the copies put back by hand bring the last table back.
  ASSERT_TRUE(form.FormDestroy());
  ASSERT_EQ(TableOnDisk(), Defaults());
  for (const char* name : {"hs", "options"})
    std::filesystem::copy_file(std::string("Data/Save/") + name + ".reset",
                               std::string("Data/Save/") + name,
                               std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(TableOnDisk(), replaced);
}

TEST_F(ResetButton, WithoutItsCopyTheTableStaysAndTheErrorIsShown) {
  TableAfterRun(5000);
  const HighScoreTable before = form.HighScores;
  // A folder where the copy would go: it cannot be written.
  std::filesystem::create_directories("Data/Save/hs.reset/in_the_way");
  const std::size_t boxes = machine.desktop.Boxes().size();
  const TMenuButton& reset = *form.Menus.Buttons[7];
  Send(K::Click, static_cast<int>(reset.X) + 5, static_cast<int>(reset.Y) + 5);
  EXPECT_EQ(form.HighScores, before);
  ASSERT_EQ(machine.desktop.Boxes().size(), boxes + 1);
  EXPECT_EQ(machine.desktop.Boxes().back().kind, platform::Desktop::BoxKind::Error);
  EXPECT_EQ(form.GameState, state::HighScores);
}

TEST_F(Results, TheTableClosesByItsButtonEscapeOrTheHighlightMovingAway) {
  OpenFromMenu(button::HighScores);
  Type(kEscape);
  EXPECT_EQ(form.GameState, state::MainMenu);
  Tick();
  PointAt(button::HighScores);
  form.MDisplayClick();
  ASSERT_EQ(form.GameState, state::HighScores);
  PointAt(button::HighScores);
  form.MDisplayClick();
  EXPECT_EQ(form.GameState, state::MainMenu);
  PointAt(button::HighScores);
  form.MDisplayClick();
  PointAt(button::Help);
  Tick();
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(form.Menus.HoveredButton, button::Help);
  EXPECT_EQ(form.Menus.Buttons[7], nullptr);
}

// A damaged score file that cannot be kept aside (every kept-aside name is taken): the game
// may not write over it, and the save after the name entry respects that as the exit does.
class ResultsWithAStuckScoreFile : public ::testing::Test {
 protected:
  struct StuckFile {
    StuckFile() {
      std::filesystem::create_directories("Data/Save");
      for (int g = 0; g < kKeptAsideCopies; ++g) Write(KeptAsideName("Data/Save/hs", g), "older");
      Write("Data/Save/hs", kDamaged);
    }
    static void Write(const std::string& path, const std::string& text) {
      std::ofstream(path, std::ios::binary) << text;
    }
  };
  static constexpr const char* kDamaged = "ACE\r\nnot a number\r\n";
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  testing_support::GameFolder folder;
  StuckFile stuck;
  platform::HeadlessPlatform machine;
  TMForm form{machine};
};

TEST_F(ResultsWithAStuckScoreFile, TheNameEntryDoesNotWriteOverIt) {
  const std::size_t boxes = machine.desktop.Boxes().size();
  ASSERT_GT(boxes, 0u);  // start-up said so
  for (int i = 0; i < 200 && form.Menus.MenuPhase != menu_phase::Interactive; ++i) {
    machine.events.Advance(30);
    form.Pump();
  }
  TearDownMainMenu(form.Screens);
  form.RaceState.Score = 3000;
  ShowRunResult(form.Screens);
  unsigned char enter = kEnter;
  form.FormKeyPress(enter);
  EXPECT_EQ(form.GameState, state::SendResults);
  EXPECT_EQ(form.HighScores.Slot(1).Score, 3000);
  EXPECT_EQ(Read("Data/Save/hs"), kDamaged);
  EXPECT_EQ(machine.desktop.Boxes().size(), boxes);
}

// A game whose score server is a loopback test server.
class Sending : public ::testing::Test {
 protected:
  explicit Sending(LoopbackServer::Reply reply = Answer("OK|1|2|3|4|5"))
      : server([reply](const auto&) { return reply; }) {}
  static LoopbackServer::Reply Answer(std::string body) {
    LoopbackServer::Reply r;
    r.body = std::move(body);
    return r;
  }
  static LoopbackServer::Reply Status(int status, std::string body) {
    LoopbackServer::Reply r = Answer(std::move(body));
    r.status = status;
    return r;
  }
  static LoopbackServer::Reply CutOff() {
    LoopbackServer::Reply r = Answer("O");
    r.mode = LoopbackServer::Mode::CutOff;
    return r;
  }
  // An address on the loopback interface where nothing listens any more.
  static std::string ClosedAddress() {
    LoopbackServer gone([](const auto&) { return LoopbackServer::Reply{}; });
    return gone.Address();
  }
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      machine.events.Advance(30);
      form->Pump();
    }
  }
  void Push(K kind, int key = 0, unsigned char ch = 0) {
    platform::Event e;
    e.kind = kind;
    e.key = key;
    e.ch = ch;
    machine.events.Push(e);
  }
  // From the menu through a race that ends with a qualifying score (the player gives up with
  // Esc and Y) to the question, with `name` typed.
  void ToTheQuestion(const std::string& name, const std::string& server_address = {}) {
    ToTheNameEntry(server_address);
    for (int i = 0; i < 6; ++i) Push(K::KeyPress, 0, kBackspace);
    for (const char c : name) Push(K::KeyPress, 0, static_cast<unsigned char>(c));
    Push(K::KeyPress, 0, kEnter);
    Tick();
    ASSERT_EQ(form->GameState, state::SendResults);
  }
  // The same race, up to the name entry with "NONAME" in the field; the game's score server
  // is the test's own unless another address is given.
  void ToTheNameEntry(const std::string& server_address = {}) {
    form.reset();  // one game at a time on the machine
    form = std::make_unique<TMForm>(
        machine, FormSettings{1, server_address.empty() ? server.Address() : server_address});
    for (int i = 0; i < 200 && form->Menus.MenuPhase != menu_phase::Interactive; ++i) Tick();
    TearDownMainMenu(form->Screens);
    form->RaceState.SelectedCar = 1;
    StartRace(form->RaceHost);
    const TRaceState& race = form->RaceState;
    for (int i = 0; i < 200 && !(race.RaceActive && race.StartCountdown == 0); ++i) Tick();
    ASSERT_TRUE(race.RaceActive);
    form->RaceState.Score = 1500;  // as if the run had earned it
    for (const int key : {vk::Escape, static_cast<int>('Y')}) {
      machine.input.SetKey(key, true);
      Tick();
      machine.input.SetKey(key, false);
      Tick();
    }
    ASSERT_EQ(form->GameState, state::NameEntry);
  }

  LoopbackServer server;
  testing_support::GameFolder folder;
  platform::HeadlessPlatform machine;
  std::unique_ptr<TMForm> form;
};

TEST_F(Sending, AWindowClosedDuringTheNameEntryKeepsTheResultAndSendsNothing) {
  const struct {
    int backspaces;
    const char* typed;
    const char* stored;
  } cases[] = {
      {0, "", "NONAME"},  // the name as the field offered it
      {6, "zed", "ZED"},
      {6, "", ""},  // empty stays empty, as with Enter
  };
  int closed = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    ToTheNameEntry();
    for (int i = 0; i < c.backspaces; ++i) Push(K::KeyPress, 0, kBackspace);
    for (const char* p = c.typed; *p != '\0'; ++p)
      Push(K::KeyPress, 0, static_cast<unsigned char>(*p));
    Tick();
    Push(K::Quit);
    form->Pump();
    ASSERT_TRUE(form->Terminated());
    ++closed;
    // On disk before the exit save, and still there after it; each close adds its row once.
    for (const bool exited : {false, true}) {
      if (exited) form.reset();
      const HighScoreTable saved = TableOnDisk();
      int rows = 0;
      bool found = false;
      for (int i = 1; i <= HighScoreTable::kShownSlots; ++i) {
        rows += saved.Slot(i).Score == 1500 ? 1 : 0;
        found = found || (saved.Slot(i).Score == 1500 && saved.Slot(i).Name == c.stored);
      }
      EXPECT_TRUE(found) << (exited ? "after the exit" : "before the exit");
      EXPECT_EQ(rows, closed);
    }
  }
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_TRUE(machine.desktop.Boxes().empty());
}

TEST_F(Sending, AWindowClosedDuringTheCheckSendsNothingMore) {
  ToTheQuestion("A");
  Push(K::KeyPress, 0, kEnter);
  Push(K::Quit);
  form->Pump();
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_TRUE(machine.desktop.Boxes().empty());
  EXPECT_TRUE(form->Terminated());
}

TEST_F(Sending, OkSendsTheResultThatDecodesToThePayload) {
  ToTheQuestion("\xE8\xe2\xe0\xed");                       // "иван"
  form->GameOptions.Country = "\xD0\xCE\xD1\xD1\xC8\xDF";  // "РОССИЯ"
  Push(K::KeyPress, 0, kEnter);                            // OK is highlighted
  Tick();
  EXPECT_TRUE(machine.desktop.Boxes().empty());
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target, "/cgi/version.pl?version&prg=Trakvolt");
  const std::string prefix = "/cgi/version.pl?hs&prg=Trakvolt&inf=";
  ASSERT_EQ(requests[1].target.substr(0, prefix.size()), prefix);
  for (const auto& r : requests) {
    EXPECT_EQ(r.Header("Accept"), "text/html, */*");
    EXPECT_EQ(r.Header("Content-Type"), "text/html");
    EXPECT_EQ(r.Header("User-Agent"), "Mozilla/3.0 (compatible; Trakvolt)");
  }
  // The Cyrillic name and country travel only inside the encoding.
  for (const char c : requests[1].target) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  const auto payload = DecodeScorePayload(requests[1].target.substr(prefix.size()));
  ASSERT_TRUE(payload);
  EXPECT_EQ(
      *payload,
      "type=0|name=\xC8\xC2\xC0\xCD|score=1500|key=T|p=4|add=\xD0\xCE\xD1\xD1\xC8\xDF|z=0000");
  EXPECT_EQ(form->GameState, state::MainMenu);
  EXPECT_EQ(form->Menus.HoveredButton, button::HighScores);
}

TEST_F(Sending, ASubmissionTheServerAnsweredWithoutStoringItSaysSo) {
  const struct {
    const char* what;
    LoopbackServer::Reply submission;
    const char* message;  // nullptr: silent
    std::size_t requests;
    bool listening = true;
  } cases[] = {
      {"stored", Answer("OK"), nullptr, 2},
      {"refused in words", Answer("REFUSED"), kNotStored, 2},
      {"expired token", Status(403, "unknown token\n"), kNotStored, 2},
      {"rate-limited", Status(429, "too many requests\n"), kNotStored, 2},
      {"unavailable", Status(503, "service unavailable\n"), kNotStored, 2},
      {"broken off", CutOff(), nullptr, 2},  // whether it was stored is not known
      {"unreachable server", Answer("OK"), kNoConnection, 0, false},  // the check fails
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const LoopbackServer::Reply submission = c.submission;
    LoopbackServer local([&](const LoopbackServer::Request& r) {
      return r.target.find("?hs&") != std::string::npos ? submission : Answer("OK|1|2|3|4|5");
    });
    ToTheQuestion("A", c.listening ? local.Address() : ClosedAddress());
    const std::size_t boxes = machine.desktop.Boxes().size();
    Push(K::KeyPress, 0, kEnter);  // OK
    Tick();
    EXPECT_EQ(local.Requests().size(), c.requests);
    EXPECT_EQ(form->GameState, state::MainMenu);
    const auto& shown = machine.desktop.Boxes();
    EXPECT_EQ(shown.size(), boxes + (c.message != nullptr ? 1 : 0));
    if (c.message != nullptr && shown.size() > boxes) {
      EXPECT_EQ(shown.back().text, c.message);
      EXPECT_EQ(shown.back().kind, platform::Desktop::BoxKind::Information);
    }
  }
}

class SendingToANoAnswer : public Sending {
 protected:
  SendingToANoAnswer() : Sending(Answer("Service Unavailable")) {}
};

TEST_F(SendingToANoAnswer, ShowsTheMessageAndSendsNothing) {
  ToTheQuestion("A");
  Push(K::KeyPress, 0, kEscape);  // Escape too clicks OK
  Tick();
  ASSERT_EQ(machine.desktop.Boxes().size(), 1u);
  EXPECT_EQ(machine.desktop.Boxes()[0].text, kNoConnection);
  EXPECT_EQ(machine.desktop.Boxes()[0].kind, platform::Desktop::BoxKind::Information);
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(form->GameState, state::MainMenu);
}

class SendingToASilentServer : public Sending {
 protected:
  SendingToASilentServer() : Sending(Silent()) {}
  static LoopbackServer::Reply Silent() {
    LoopbackServer::Reply r;
    r.mode = LoopbackServer::Mode::Silent;
    return r;
  }
};

TEST_F(SendingToASilentServer, TheGameComesBackWithTheMessageAndHonoursKeysAndClose) {
  ToTheQuestion("A");
  form->FormKeyDown(vk::Ctrl, {});
  ASSERT_TRUE(form->CtrlHeld);
  Push(K::KeyPress, 0, kEnter);
  // While the request waits: a key released, a key typed, the window closed.
  Push(K::KeyUp, vk::Ctrl);
  Push(K::KeyPress, 0, 'x');
  Push(K::Quit);
  form->Pump();
  ASSERT_EQ(machine.desktop.Boxes().size(), 1u);
  EXPECT_EQ(machine.desktop.Boxes()[0].text, kNoConnection);
  EXPECT_FALSE(form->CtrlHeld);
  EXPECT_EQ(form->GameState, state::MainMenu);  // the typed key was not a second click
  EXPECT_TRUE(form->Terminated());
}

}  // namespace
