// The desktop icon drawn from the game's own car picture.
#include "app_icon.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "svg_render.h"

namespace trakvolt::art {
namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot read");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw std::runtime_error(path.string() + ": cannot write");
}

// The value of attribute `name` inside the tag text, or "".
std::string Attribute(const std::string& tag, const std::string& name) {
  const std::string key = " " + name + "=\"";
  const std::size_t at = tag.find(key);
  if (at == std::string::npos) return {};
  const std::size_t from = at + key.size();
  const std::size_t to = tag.find('"', from);
  return to == std::string::npos ? std::string() : tag.substr(from, to - from);
}

}  // namespace

std::string ComposeIconSvg(const std::string& picture_svg) {
  const std::size_t open = picture_svg.find("<svg");
  const std::size_t open_end = open == std::string::npos ? open : picture_svg.find('>', open);
  const std::size_t close = picture_svg.rfind("</svg>");
  if (open_end == std::string::npos || close == std::string::npos || close < open_end)
    throw std::runtime_error("the icon's picture is not an SVG document");
  const std::string root = picture_svg.substr(open, open_end - open);
  const std::string view_box = Attribute(root, "viewBox");
  double vx = 0, vy = 0, vw = 0, vh = 0;
  if (std::sscanf(view_box.c_str(), "%lf %lf %lf %lf", &vx, &vy, &vw, &vh) != 4 || vw <= 0 ||
      vh <= 0)
    throw std::runtime_error("the icon's picture needs a viewBox");
  // The picture fills 200 of the tile's 256 units along its longer side.
  const double scale = 200.0 / std::max(vw, vh);
  const double w = vw * scale, h = vh * scale;
  char placement[160];
  std::snprintf(placement, sizeof placement,
                "<svg x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" viewBox=\"%s\">",
                128 - w / 2, 128 - h / 2, w, h, view_box.c_str());
  std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
      "viewBox=\"0 0 256 256\">\n"
      "<defs><clipPath id=\"icon-tile\"><rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" "
      "rx=\"44\"/></clipPath></defs>\n"
      // The menu cards' navy and cyan edge, with a strip of the race's road down the middle.
      "<rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"44\" fill=\"#0c1442\"/>\n"
      "<g clip-path=\"url(#icon-tile)\"><rect x=\"52\" y=\"0\" width=\"152\" height=\"256\" "
      "fill=\"#2b2f3d\"/><path d=\"M60 0 V256 M196 0 V256\" stroke=\"#e9edf5\" "
      "stroke-width=\"6\"/><path d=\"M128 0 V256\" stroke=\"#e9edf5\" stroke-width=\"5\" "
      "stroke-dasharray=\"22 18\"/></g>\n"
      "<rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"44\" fill=\"none\" "
      "stroke=\"#33d6ff\" stroke-width=\"8\"/>\n";
  svg += placement;
  svg += picture_svg.substr(open_end + 1, close - open_end - 1);
  svg += "</svg>\n</svg>\n";
  return svg;
}

void WriteIcons(const std::filesystem::path& picture, const std::filesystem::path& outdir,
                const std::string& name, const std::vector<int>& sizes) {
  const std::string svg = ComposeIconSvg(ReadText(picture));
  WriteText(outdir / "scalable" / "apps" / (name + ".svg"), svg);
  for (const int size : sizes) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    std::filesystem::create_directories(outdir / folder / "apps");
    RenderSvgToSquarePng(svg, size, (outdir / folder / "apps" / (name + ".png")).string(),
                         picture.string());
  }
}

}  // namespace trakvolt::art
