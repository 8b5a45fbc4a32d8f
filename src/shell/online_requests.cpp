// The form's side of the score server: a request runs on a worker thread while the game's own
// thread keeps taking the window's events, and the result is saved as soon as it is entered.
#include <chrono>
#include <future>

#include "base/game_error.h"
#include "persist/online_service.h"
#include "persist/save_data.h"
#include "persist/save_file.h"
#include "shell/error_text.h"
#include "shell/form.h"

namespace trakvolt {

std::string TMForm::FetchWhileWaiting(const std::string& url) {
  // The window was closed during the check: no further wait before the game ends.
  if (terminated_) throw GameError("The game is closing");
  platform::HttpClient& http = platform_.GetHttp();
  // The worker touches nothing but the client; the game's records stay on this thread.
  auto request = std::async(std::launch::async, [&http, url] { return http.Get(url); });
  auto& events = platform_.GetEvents();
  platform::Event e;
  bool done = false;
  do {
    done = request.wait_for(std::chrono::milliseconds(10)) == std::future_status::ready;
    // Events that came while waiting, the last ones included, are spent here.
    while (events.Poll(e)) DispatchWhileWaiting(e);
  } while (!done);
  return request.get();  // rethrows the request's error
}

void TMForm::DispatchWhileWaiting(const platform::Event& e) {
  using K = platform::Event::Kind;
  // Input is not for a screen that waits; but a key let go must not stay held (Ctrl would
  // fire on in the next race), and a close is honoured once the request is over.
  if (e.kind == K::KeyUp || e.kind == K::Quit || e.kind == K::Activate || e.kind == K::Deactivate)
    Dispatch(e);
}

void TMForm::SendResults() {
  const SendOutcome outcome = trakvolt::SendResults(
      [this](const std::string& url) { return FetchWhileWaiting(url); }, settings_.score_server,
      PlayerName, RaceState.Score, GameOptions.Country);
  // A submission that got no whole answer stays silent: whether it was stored is not known.
  const char* message = outcome == SendOutcome::NoConnection ? kNoConnectionText
                        : outcome == SendOutcome::Refused    ? kNotStoredText
                                                             : nullptr;
  if (message != nullptr)
    platform_.GetDesktop().MessageBox(kApplicationTitle, message,
                                      platform::Desktop::BoxKind::Information);
}

void TMForm::SaveScores() {
  // The same pair the exit writes, and only what start-up loaded. A failure is shown and the
  // game goes on; the exit tries again.
  if (!save_loaded_ || !save_allowed_) return;
  try {
    SaveGameData(kSaveFolder, GameOptions, HighScores);
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

}  // namespace trakvolt
