// Program entry: the SDL machine, the working folder, the main form and its message loop, then
// the exit hook.
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "base/process_signals.h"
#include "platform/data_home.h"
#include "platform/sdl/sdl_platform.h"
#include "shell/form.h"

int main(int, char**) {
  trakvolt::IgnoreFileSizeSignal();
  std::unique_ptr<trakvolt::platform::SdlPlatform> machine;
  try {
    machine = std::make_unique<trakvolt::platform::SdlPlatform>();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Гонкострель: %s\n", e.what());
    return 1;
  }
  // Started outside a folder holding the data (an installed game), the game works in the
  // player's own folder; without one it stops before anything could be written.
  try {
    trakvolt::platform::EnterDataHome(
        trakvolt::platform::ReadDataHomeInputs(TRAKVOLT_DATA_FROM_BIN, TRAKVOLT_INSTALLED_DATA));
  } catch (const trakvolt::platform::DataHomeError& e) {
    std::fprintf(stderr, "Гонкострель: %s\n", e.what());
    machine->GetDesktop().MessageBox("Гонкострель", e.what(),
                                     trakvolt::platform::Desktop::BoxKind::Error);
    return 1;
  }
  bool saved = false;
  {
    trakvolt::TMForm form(*machine);
    form.Run();
    // The companion program opens while the window still exists, before the form's final save.
    form.RunExitHook();
    saved = form.FormDestroy();
  }
  // A failed final save was shown in a box; the exit status tells scripts and launchers too.
  return saved ? 0 : 1;
}
