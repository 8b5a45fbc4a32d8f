// The screen state machine: the frame of each GameState, pointer moves, clicks and typed keys
// routed by it, and the start of the race from the car selection.
#include "platform/virtual_keys.h"
#include "race/race_run.h"
#include "screens/button_navigation.h"
#include "screens/car_selection.h"
#include "screens/help_screen.h"
#include "screens/high_scores_screen.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "screens/options_screen.h"
#include "screens/send_results.h"
#include "screens/text_field.h"
#include "shell/form.h"

namespace trakvolt {
namespace {

constexpr int kPreviousPage = 7, kNextPage = 8;
constexpr int kScreenModeButton = 7, kMusicButton = 8, kSoundButton = 9, kCountryButton = 10;
constexpr int kFirstCar = 7, kLastCar = 10;

}  // namespace

void TMForm::ScreenFrame(int lag_count) {
  switch (GameState) {
    case state::MainMenu:
      MainMenuFrame(Screens, lag_count);
      break;
    case state::Options:
      OptionsFrame(Screens, lag_count);
      break;
    case state::HighScores:
      HighScoresFrame(Screens, lag_count);
      break;
    case state::Help:
      HelpFrame(Screens, lag_count);
      break;
    case state::SendResults:
      SendResultsFrame(Screens, lag_count);
      break;
    case state::NameEntry:
      NameEntryFrame(Screens, lag_count);
      break;
    case state::CarSelection:
      CarSelectionFrame(Screens, lag_count);
      break;
    case state::Race:
      RaceFrame(RaceHost, lag_count);
      break;
    case state::RaceSetup:
      BeginFrame(lag_count, true);
      EndFrame();
      break;
    default:
      break;  // no screen under this code: the last picture stays
  }
}

void TMForm::MDisplayMouseMove(int x, int y) {
  MouseX = x;
  MouseY = y;
  FindHoveredButton(Menus, x, y);
}

void TMForm::MDisplayClick() {
  TScreenHost& host = Screens;
  const int h = Menus.HoveredButton;
  if (h != 0) host.PlayClickSound();
  switch (GameState) {
    case state::MainMenu:
      // Nothing happens until the intro has finished.
      if (Menus.MenuPhase != menu_phase::Interactive) return;
      switch (h) {
        case button::Start:
          OpenCarSelection(host);
          break;
        case button::Options:
          OpenOptions(host);
          break;
        case button::HighScores:
          OpenHighScores(host);
          break;
        case button::Help:
          OpenHelp(host);
          break;
        case button::Website:
          host.OpenDocument("website.url");
          break;
        case button::Exit:
          TearDownMainMenu(host);
          SaveAndQuit();
          break;
        default:
          break;
      }
      return;
    case state::Options:
      if (h == kScreenModeButton) ToggleFullScreen(host);
      if (h == kMusicButton) ToggleMusic(host);
      if (h == kSoundButton) ToggleSound(host);
      if (h == kCountryButton) {
        if (Menus.CountryEditing)
          StopCountryEditing(host);
        else
          StartCountryEditing(host);
      }
      if (h != kCountryButton) StopCountryEditing(host);
      if (h == button::Options) {
        CloseOptions(host);
        BuildMainMenu(host, false, menu_return::Start);
      }
      return;
    case state::HighScores:
      HighScoresClick(host);
      return;
    case state::SendResults:
      SendResultsClick(host);
      return;
    case state::Help:
      if (h == kPreviousPage) {
        TurnHelpPage(host, -1);
      } else if (h == kNextPage) {
        TurnHelpPage(host, +1);
      } else if (h != 0) {
        CloseHelp(host);
        BuildMainMenu(host, false, menu_return::Start);
      }
      return;
    case state::CarSelection:
      if (h == 0) return;
      CloseCarSelection(host);
      BuildMainMenu(host, false, menu_return::Start);
      if (h >= kFirstCar && h <= kLastCar) {
        TearDownMainMenu(host);
        RaceState.SelectedCar = h - 6;
        StartRace();
      }
      return;
    default:
      return;  // the race, its set-up and the name entry only click
  }
}

void TMForm::FormKeyPress(unsigned char& key) {
  TScreenHost& host = Screens;
  if (GameState == state::Options) {
    if (key == key_char::Enter) MDisplayClick();
    if (key == key_char::Escape) {
      Menus.HoveredButton = button::Options;
      MDisplayClick();  // closes the screen
      return;
    }
    key = CyrillicCapital(key);
    if (GameState == state::Options && Menus.HoveredButton == kCountryButton &&
        Menus.CountryEditing)
      TypeIntoCountry(host, key);
  }
  if (GameState != state::Race && GameState != state::RaceSetup && GameState != state::Options) {
    if (key == key_char::Escape) {
      // A screen's own main button, so that the click below closes it.
      if (GameState == state::HighScores) Menus.HoveredButton = button::HighScores;
      if (GameState == state::Help) Menus.HoveredButton = button::Help;
      if (GameState == state::CarSelection) Menus.HoveredButton = button::Start;
    }
    // Every other key acts as a click on the highlighted button; Escape does nothing on the
    // main menu itself. The table's reset answers Enter and Space only, so that a stray key
    // (or one still held from the race) cannot wipe it.
    const bool stray_on_reset = GameState == state::HighScores &&
                                Menus.HoveredButton == kHighScoresResetButton &&
                                key != key_char::Enter && key != key_char::Space;
    if (!(GameState == state::MainMenu && key == key_char::Escape) && !stray_on_reset)
      MDisplayClick();
  }
  if (GameState == state::NameEntry) NameEntryKey(host, key);
}

void TMForm::StartRace() {
  try {
    trakvolt::StartRace(RaceHost);
  } catch (...) {
    // A race that cannot be built (a picture missing from the race archive) leaves nothing of
    // itself behind, and the menu comes back so the game still answers; the error is shown
    // once, by the event's handler.
    RaceTeardown(RaceHost);
    try {
      BuildMainMenu(Screens, true, menu_return::Start);
    } catch (...) {
      GameState = state::None;  // no screen to run: the window can still be closed
    }
    throw;
  }
}

}  // namespace trakvolt
