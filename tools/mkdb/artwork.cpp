#include "tools/mkdb/artwork.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "refdb/lzw.h"

namespace kalvor::mkdb {
namespace {

constexpr double kPi = 3.14159265358979323846;

// 5x7 letter shapes, one string per row, '#' = ink.
struct Glyph {
  char c;
  const char* rows[7];
};

const Glyph kGlyphs[] = {
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'b', {"#....", "#....", "####.", "#...#", "#...#", "#...#", "####."}},
    {'d', {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'g', {".....", ".....", ".####", "#...#", ".####", "....#", ".###."}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'n', {".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####."}},
    {'t', {".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"}},
    {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'w', {".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."}},
};

const Glyph* glyphOf(char c) {
  for (const Glyph& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

// A hexagonal prism with its end faces, as a crystal drawing of the kind the
// program shows: visible edges solid, the hidden back edges left out.
void drawPrism(MonoBitmap& bmp, int cx, int top, int halfWidth, int height, int thickness) {
  const int dx = halfWidth / 2;
  const int dy = halfWidth / 4;
  const int bottom = top + height;
  // Top face (an ellipse-like hexagon seen from slightly above).
  const int tx[6] = {cx - halfWidth, cx - dx, cx + dx, cx + halfWidth, cx + dx, cx - dx};
  const int ty[6] = {top, top - dy, top - dy, top, top + dy, top + dy};
  for (int i = 0; i < 6; ++i) bmp.line(tx[i], ty[i], tx[(i + 1) % 6], ty[(i + 1) % 6], thickness);
  // The three visible vertical edges and the front half of the bottom face.
  for (int i : {0, 3, 4, 5}) bmp.line(tx[i], ty[i], tx[i], ty[i] + height, thickness);
  bmp.line(tx[0], bottom, tx[5], ty[5] + height, thickness);
  bmp.line(tx[5], ty[5] + height, tx[4], ty[4] + height, thickness);
  bmp.line(tx[4], ty[4] + height, tx[3], bottom, thickness);
}

void drawRadioactivity(MonoBitmap& bmp) {
  const int size = bmp.width();
  const int c = size / 2;
  const int r = size / 2 - 1;
  bmp.disc(c, c, r, std::max(1, size / 16));
  bmp.disc(c, c, std::max(1, r / 5));
  for (int k = 0; k < 3; ++k) {
    const double from = 90.0 + 120.0 * k - 30.0;
    bmp.sector(c, c, r / 3, r - std::max(2, size / 10), from, from + 60.0);
  }
}

}  // namespace

MonoBitmap::MonoBitmap(int width, int height)
    : width_(width), height_(height),
      bits_(static_cast<std::size_t>(height) * pictureRowBytes(static_cast<std::size_t>(width)), 0xFF) {}

bool MonoBitmap::isInk(int x, int y) const {
  return !pictureBit(bits_, static_cast<std::size_t>(width_), static_cast<std::size_t>(x),
                     static_cast<std::size_t>(y));
}

void MonoBitmap::ink(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const std::size_t row = static_cast<std::size_t>(y) * pictureRowBytes(static_cast<std::size_t>(width_));
  bits_[row + static_cast<std::size_t>(x) / 8] &= static_cast<std::uint8_t>(~(0x80u >> (x % 8)));
}

void MonoBitmap::line(int x0, int y0, int x1, int y1, int thickness) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  const int lo = -(thickness - 1) / 2, hi = thickness / 2;
  for (;;) {
    for (int oy = lo; oy <= hi; ++oy)
      for (int ox = lo; ox <= hi; ++ox) ink(x0 + ox, y0 + oy);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void MonoBitmap::disc(int cx, int cy, int radius, int ringThickness) {
  const int inner = radius - ringThickness;
  for (int y = -radius; y <= radius; ++y) {
    for (int x = -radius; x <= radius; ++x) {
      const int d2 = x * x + y * y;
      if (d2 > radius * radius) continue;
      if (ringThickness > 0 && d2 < inner * inner) continue;
      ink(cx + x, cy + y);
    }
  }
}

void MonoBitmap::sector(int cx, int cy, int innerRadius, int outerRadius, double fromDeg, double toDeg) {
  for (int y = -outerRadius; y <= outerRadius; ++y) {
    for (int x = -outerRadius; x <= outerRadius; ++x) {
      const int d2 = x * x + y * y;
      if (d2 > outerRadius * outerRadius || d2 < innerRadius * innerRadius) continue;
      double angle = std::atan2(-static_cast<double>(y), static_cast<double>(x)) * 180.0 / kPi;
      while (angle < fromDeg) angle += 360.0;
      if (angle <= toDeg) ink(cx + x, cy + y);
    }
  }
}

int MonoBitmap::textWidth(const std::string& ascii, int scale) {
  return ascii.empty() ? 0 : static_cast<int>(ascii.size()) * 6 * scale - scale;
}

int MonoBitmap::text(int x, int y, const std::string& ascii, int scale) {
  int pen = x;
  for (char c : ascii) {
    if (const Glyph* g = glyphOf(c)) {
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (g->rows[row][col] == '#')
            for (int sy = 0; sy < scale; ++sy)
              for (int sx = 0; sx < scale; ++sx) ink(pen + col * scale + sx, y + row * scale + sy);
    }
    pen += 6 * scale;
  }
  return pen - x;
}

std::vector<LogoPicture> makeLogoPictures() {
  std::vector<LogoPicture> pictures;

  MonoBitmap logo(600, 230);
  drawPrism(logo, 95, 45, 55, 140, 3);
  logo.line(95 - 55, 45, 95, 10, 3);  // the pyramid tip of the crystal
  logo.line(95 + 55, 45, 95, 10, 3);
  logo.line(95 - 27, 45 + 13, 95, 10, 3);
  logo.line(95 + 27, 45 + 13, 95, 10, 3);
  logo.text(200, 40, "Kalvor", 11);
  logo.line(200, 132, 585, 132, 2);
  logo.text(200, 146, "Mineralbestimmung und", 2);
  logo.text(200, 170, "Sammlungsverwaltung", 2);
  pictures.push_back({std::move(logo), ""});

  MonoBitmap mineral(120, 170);
  drawPrism(mineral, 60, 30, 45, 110, 2);
  pictures.push_back({std::move(mineral), "Pyromorphit"});

  MonoBitmap program(64, 64);
  drawPrism(program, 32, 14, 20, 34, 2);
  program.text(26, 26, "K", 2);
  pictures.push_back({std::move(program), ""});

  MonoBitmap small(24, 24);
  drawRadioactivity(small);
  pictures.push_back({std::move(small), ""});
  MonoBitmap large(48, 48);
  drawRadioactivity(large);
  pictures.push_back({std::move(large), ""});
  return pictures;
}

}  // namespace kalvor::mkdb
