// Renders a module with libxmp, the same player the game uses.
#include "render_song.h"

#include <xmp.h>

#include <memory>
#include <stdexcept>

namespace trakvolt::audiogen {

RenderedSong RenderSong(const std::string& path, double max_seconds) {
  constexpr int kRate = 44100;
  std::unique_ptr<std::remove_pointer_t<xmp_context>, void (*)(xmp_context)> ctx(
      xmp_create_context(), xmp_free_context);
  if (!ctx) throw std::runtime_error("libxmp: no context");
  if (xmp_load_module(ctx.get(), path.c_str()) != 0)
    throw std::runtime_error("libxmp cannot load " + path);
  if (xmp_start_player(ctx.get(), kRate, 0) != 0) {
    xmp_release_module(ctx.get());
    throw std::runtime_error("libxmp cannot start " + path);
  }
  RenderedSong song;
  const auto limit = static_cast<std::size_t>(max_seconds * kRate * 2);
  xmp_frame_info info{};
  while (song.samples.size() < limit && xmp_play_frame(ctx.get()) == 0) {
    xmp_get_frame_info(ctx.get(), &info);
    if (info.loop_count > 0) {
      song.seconds_to_wrap = static_cast<double>(song.samples.size()) / (2.0 * kRate);
      break;
    }
    song.highest_order = std::max(song.highest_order, info.pos);
    const auto* pcm = static_cast<const std::int16_t*>(info.buffer);
    song.samples.insert(song.samples.end(), pcm, pcm + info.buffer_size / 2);
  }
  xmp_end_player(ctx.get());
  xmp_release_module(ctx.get());
  return song;
}

}  // namespace trakvolt::audiogen
