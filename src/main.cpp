// Program entry: the SDL machine, the main form and its message loop, then the exit hook.
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "platform/sdl/sdl_platform.h"
#include "shell/form.h"

int main(int, char**) {
  std::unique_ptr<trakvolt::platform::SdlPlatform> machine;
  try {
    machine = std::make_unique<trakvolt::platform::SdlPlatform>();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Гонкострель: %s\n", e.what());
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
