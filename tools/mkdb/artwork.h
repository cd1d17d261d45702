// The program's own pictures in "logos.pf", drawn here from simple shapes:
// the start logo, the Info dialog's pictures and the radioactivity signs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace kalvor::mkdb {

// A monochrome picture in the decoded row layout of the picture files:
// rows of pictureRowBytes(width) bytes, 1 bits background, 0 bits ink.
class MonoBitmap {
 public:
  MonoBitmap(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  const Bytes& bits() const { return bits_; }
  bool isInk(int x, int y) const;

  // Inks one pixel; pixels outside the picture are ignored.
  void ink(int x, int y);
  // A line of the given thickness (a square pen) from (x0, y0) to (x1, y1).
  void line(int x0, int y0, int x1, int y1, int thickness = 1);
  // A filled disc, or a ring of the given thickness when `ringThickness` > 0.
  void disc(int cx, int cy, int radius, int ringThickness = 0);
  // A filled circular sector between two angles (degrees, counter-clockwise from east).
  void sector(int cx, int cy, int innerRadius, int outerRadius, double fromDeg, double toDeg);
  // Text in the built-in 5x7 letter shapes, each pixel a `scale` x `scale` block;
  // returns the width used. Letters without a shape leave a gap.
  int text(int x, int y, const std::string& ascii, int scale);
  // The width `text` would use.
  static int textWidth(const std::string& ascii, int scale);

 private:
  int width_, height_;
  Bytes bits_;
};

struct LogoPicture {
  MonoBitmap bitmap;
  std::string caption;  // Windows-1252
};

// The pictures of logos.pf in file order: 0 start logo (600 x 230), 1 the
// Info dialog's mineral picture, 2 the Info dialog's program picture,
// 3 small and 4 large radioactivity sign.
std::vector<LogoPicture> makeLogoPictures();

}  // namespace kalvor::mkdb
