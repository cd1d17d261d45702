#include "shell/logo.h"

#include <algorithm>
#include <vector>

#include "refdb/lzw.h"
#include "win32/gdi_objects.h"

namespace kalvor::shell {

std::optional<Picture> readPictureAtSlot(const std::string& path, std::uint32_t slot) {
  if (slot < 4) return std::nullopt;
  const std::optional<PictureFile> file = PictureFile::open(path);
  if (!file) return std::nullopt;
  const std::optional<std::uint32_t> offset = file->pictureOffset((slot - 4) / 4);
  if (!offset) return std::nullopt;
  return file->readPicture(*offset);
}

const Picture* cachedPictureAtSlot(PictureCache& cache, const std::string& path, std::uint32_t slot) {
  if (slot < 4) return nullptr;
  const std::optional<PictureFile> file = PictureFile::open(path);
  if (!file) return nullptr;
  const std::optional<std::uint32_t> offset = file->pictureOffset((slot - 4) / 4);
  if (!offset) return nullptr;
  return cache.fetch(*file, PictureSource::kProgramPictures, *offset);
}

void drawPicture(HDC dc, const Picture& picture, const views::Rect& dest, COLORREF background,
                 COLORREF foreground) {
  if (picture.width == 0 || picture.height == 0 || dest.width() <= 0 || dest.height() <= 0) return;
  // The decoded rows are padded to 16 bits, a DIB's to 32: copy row by row.
  const std::size_t sourceRow = pictureRowBytes(picture.width);
  const std::size_t dibRow = (picture.width + 31) / 32 * 4;
  if (picture.bitmap.size() < sourceRow * picture.height) return;
  std::vector<std::uint8_t> bits(dibRow * picture.height, 0xFF);
  for (std::size_t y = 0; y < picture.height; ++y) {
    std::copy_n(picture.bitmap.begin() + static_cast<std::ptrdiff_t>(y * sourceRow), sourceRow,
                bits.begin() + static_cast<std::ptrdiff_t>(y * dibRow));
  }
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info = {};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = picture.width;
  info.header.biHeight = -static_cast<LONG>(picture.height);  // top-down rows
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = 2;
  // Index 0 is a 0-bit (the drawing), index 1 a 1-bit (the background).
  info.colours[0] = {GetBValue(foreground), GetGValue(foreground), GetRValue(foreground), 0};
  info.colours[1] = {GetBValue(background), GetGValue(background), GetRValue(background), 0};
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, dest.left, dest.top, dest.width(), dest.height(), 0, 0, picture.width,
                picture.height, bits.data(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

void drawPictureInFrame(HDC dc, const Picture& picture, const RECT& frame, const std::string& caption) {
  TEXTMETRICA metrics = {};
  const win32::ScopedSelectObject font(dc, GetStockObject(SYSTEM_FONT));
  GetTextMetricsA(dc, &metrics);
  const views::PicturePlacement placement =
      views::fitPicture(picture.width, picture.height, {frame.left, frame.top, frame.right, frame.bottom},
                        metrics.tmAveCharWidth, metrics.tmHeight, false);
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  const COLORREF foreground = GetSysColor(COLOR_WINDOWTEXT);
  drawPicture(dc, picture, placement.picture, background, foreground);
  if (caption.empty()) return;
  SIZE extent = {};
  GetTextExtentPoint32A(dc, caption.data(), static_cast<int>(caption.size()), &extent);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, foreground);
  TextOutA(dc, placement.picture.left + placement.picture.width() / 2 - extent.cx / 2,
           placement.captionTop, caption.data(), static_cast<int>(caption.size()));
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

}  // namespace kalvor::shell
