// Contact sheet layout and the tiny 3 x 5 font its captions use.
#include "archive_sheet.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/game_error.h"

namespace trakvolt {

namespace {

struct Glyph {
  char c;
  const char* rows;  // 5 rows of 3 pixels, '#' set
};

constexpr std::array<Glyph, 48> kGlyphs{{
    {'0', "####.##.##.####"}, {'1', ".#.##..#..#.###"}, {'2', "###..#####..###"},
    {'3', "###..####..####"}, {'4', "#.##.####..#..#"}, {'5', "####..###..####"},
    {'6', "####..####.####"}, {'7', "###..#..#.#..#."}, {'8', "####.#####.####"},
    {'9', "####.####..####"}, {'A', ".#.#.#####.##.#"}, {'B', "##.#.###.#.###."},
    {'C', ".###..#..#...##"}, {'D', "##.#.##.##.###."}, {'E', "####..##.#..###"},
    {'F', "####..##.#..#.."}, {'G', ".###..#.##.#.##"}, {'H', "#.##.#####.##.#"},
    {'I', "###.#..#..#.###"}, {'J', "..#..#..##.#.#."}, {'K', "#.##.###.#.##.#"},
    {'L', "#..#..#..#..###"}, {'M', "#.########.##.#"}, {'N', "##.#.##.##.##.#"},
    {'O', ".#.#.##.##.#.#."}, {'P', "##.#.###.#..#.."}, {'Q', ".#.#.##.###..##"},
    {'R', "##.#.###.#.##.#"}, {'S', ".###...#...###."}, {'T', "###.#..#..#..#."},
    {'U', "#.##.##.##.####"}, {'V', "#.##.##.##.#.#."}, {'W', "#.##.########.#"},
    {'X', "#.##.#.#.#.##.#"}, {'Y', "#.##.#.#..#..#."}, {'Z', "###..#.#.#..###"},
    {'_', "............###"}, {'-', "......###......"}, {'.', ".............#."},
    {'(', ".#.#..#..#...#."}, {')', ".#...#..#..#.#."}, {':', "....#.....#...."},
    {'?', "###..#.#.....#."}, {'/', "..#..#.#.#..#.."}, {'#', "#.#####.#####.#"},
    {'+', "....#.###.#...."}, {',', "..........#.#.."}, {' ', "..............."},
}};

constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kScale = 2;
constexpr int kLine = 5 * kScale + 4;  // one caption line
constexpr Pixel565 kBackground = Rgb565(0x80, 0x80, 0x80);
constexpr Pixel565 kFrame = Rgb565(0x30, 0x30, 0x50);
constexpr Pixel565 kText = Rgb565(0xFF, 0xFF, 0xFF);
constexpr Pixel565 kNumber = Rgb565(0xFF, 0xFF, 0x80);

const char* GlyphRows(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  for (const Glyph& g : kGlyphs)
    if (g.c == c) return g.rows;
  return GlyphRows('?');
}

void FrameRect(const SurfaceView& dst, const Rect& r, Pixel565 color) {
  Fill(dst, Rect{r.left, r.top, r.right, r.top + 1}, color);
  Fill(dst, Rect{r.left, r.bottom - 1, r.right, r.bottom}, color);
  Fill(dst, Rect{r.left, r.top, r.left + 1, r.bottom}, color);
  Fill(dst, Rect{r.right - 1, r.top, r.right, r.bottom}, color);
}

// Where each item's caption and patterns go.
struct Placed {
  int item, pattern;  // pattern -1: the caption
  int x, y;
};

}  // namespace

int DrawTinyText(const SurfaceView& dst, int x, int y, std::string_view text, Pixel565 color,
                 int scale) {
  for (char c : text) {
    const char* rows = GlyphRows(c);
    for (int i = 0; i < 15; ++i)
      if (rows[i] == '#')
        Fill(dst, Bounds(x + (i % 3) * scale, y + (i / 3) * scale, scale, scale), color);
    x += 4 * scale;
  }
  return x;
}

Surface ContactSheet(const TImageCollection& images) {
  int width = 640;
  for (int i = 0; i < images.Count(); ++i)
    width = std::max(width, images[i].FrameWidth() + 2 * kMargin + 2);
  std::vector<Placed> placed;
  int y = kMargin;
  for (int i = 0; i < images.Count(); ++i) {
    const TImageCollectionItem& item = images[i];
    placed.push_back({i, -1, kMargin, y});
    y += kLine;
    const int pw = item.FrameWidth() + 2, ph = item.FrameHeight() + 2;
    const int cell_w = std::max(pw, 4 * kScale * 4) + kGap;
    int x = kMargin;
    for (int k = 0; k < item.CountPatterns(); ++k) {
      if (x + pw > width - kMargin && x > kMargin) {
        x = kMargin;
        y += ph + kLine + kGap;
      }
      placed.push_back({i, k, x, y});
      x += cell_w;
    }
    if (item.CountPatterns() > 0) y += ph + kLine + kGap;
    y += kGap;
  }
  Surface sheet(width, y + kMargin, kBackground);
  const SurfaceView view = sheet.View();
  for (const Placed& p : placed) {
    const TImageCollectionItem& item = images[p.item];
    if (p.pattern < 0) {
      std::string caption = item.Name().empty() ? "(NO NAME)" : item.Name();
      caption += item.HasPicture() ? Format("  %dX%d  X%d", item.FrameWidth(), item.FrameHeight(),
                                            item.CountPatterns())
                                   : std::string("  (NO PICTURE)");
      DrawTinyText(view, p.x, p.y, caption, kText, kScale);
      continue;
    }
    const Rect box = Bounds(p.x, p.y, item.FrameWidth() + 2, item.FrameHeight() + 2);
    FrameRect(view, box, kFrame);
    const Rect src = item.PatternRect(p.pattern);
    if (item.Transparent())
      BlitKeyed(view, p.x + 1, p.y + 1, item.Picture().ConstView(), src, item.KeyColor());
    else
      Blit(view, p.x + 1, p.y + 1, item.Picture().ConstView(), src);
    DrawTinyText(view, p.x, box.bottom + 2, std::to_string(p.pattern), kNumber, kScale);
  }
  return sheet;
}

}  // namespace trakvolt
