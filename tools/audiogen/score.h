// The music score format: instruments made of synthesiser layers, sections of chords and
// channel lines, and the song's order; turned into an XM module.
#pragma once

#include <string>
#include <string_view>

#include "xm_writer.h"

namespace trakvolt::audiogen {

// Reads a score and builds the module, synthesising every instrument. Errors name the file
// and line.
XmModule BuildSong(std::string_view text, const std::string& file);

// The XM note number (C-4 = 49) of a name such as "C4", "F#3" or "Bb5"; 0 when it is none.
int NoteNumber(std::string_view name);

}  // namespace trakvolt::audiogen
