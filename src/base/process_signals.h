// How the game's programs take the signals that would otherwise end them without a word.
#pragma once

#include <signal.h>

namespace trakvolt {

// A file-size limit (ulimit -f) sends SIGXFSZ, which ends a program on the spot: no message,
// nothing saved, temporary files left behind. Ignored, the write that goes past the limit
// fails with EFBIG instead, and the program's own write errors report it. Called first thing
// in every main; only a header, so the tools that need none of the core take it too.
inline void IgnoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

}  // namespace trakvolt
