#include "views/window_layout.h"

#include <algorithm>

namespace kalvor::views {

Rect listRectangle(const Rect& client, const std::optional<Rect>& description,
                   const std::optional<Rect>& drawing) {
  Rect r;
  r.left = description ? description->width() : 0;
  r.top = kToolbarBandHeight + (drawing ? drawing->height() : 0);
  // A client area smaller than the band and the side windows gives an empty
  // rectangle, never one of negative size.
  r.right = std::max(client.right, r.left);
  r.bottom = std::max(client.bottom, r.top);
  return r;
}

ResizeRatios resizeRatios(const Rect& savedMain, const Rect& newMain) {
  // A saved rect without area (nothing saved yet) must not scale by infinity.
  if (savedMain.width() == 0 || savedMain.height() == 0) return {};
  return {static_cast<double>(newMain.width()) / savedMain.width(),
          static_cast<double>(newMain.height()) / savedMain.height()};
}

int scaleExtent(int extent, double ratio) { return static_cast<int>(extent * ratio); }

ResizeMove planResize(const Rect& client, const Rect& savedMain, const Rect& newMain,
                      const std::optional<Rect>& drawing, const std::optional<Rect>& description,
                      bool listExists) {
  const ResizeRatios ratios = resizeRatios(savedMain, newMain);
  if (drawing) {
    const int w = scaleExtent(drawing->width(), ratios.horizontal);
    const int h = scaleExtent(drawing->height(), ratios.vertical);
    return {ResizeMove::Target::Drawing,
            {client.right - w, kToolbarBandHeight, client.right, kToolbarBandHeight + h}};
  }
  if (description) {
    const int w = scaleExtent(description->width(), ratios.horizontal);
    const int h = scaleExtent(description->height(), ratios.vertical);
    return {ResizeMove::Target::Description, {0, kToolbarBandHeight, w, kToolbarBandHeight + h}};
  }
  if (listExists) {
    // Client width by client height less the band, below the band.
    return {ResizeMove::Target::List, {0, kToolbarBandHeight, client.width(), client.height()}};
  }
  return {};
}

Size minimumTrackSize(int averageCharWidth, int desktopHeight) {
  return {(averageCharWidth * 200) / 4 + 100, (desktopHeight * 2) / 3};
}

Point startPicturePosition(int clientWidth, int clientHeight) {
  return {(clientWidth - kStartPictureWidth) / 2, (clientHeight - kStartPictureHeight) / 2};
}

Point centredDialogPosition(int clientWidth, int clientHeight, int dialogWidth, int dialogHeight) {
  return {(clientWidth - dialogWidth) / 2, (clientHeight - dialogHeight) / 2};
}

PicturePlacement fitPicture(int width, int height, const Rect& fit, int averageCharWidth,
                            int lineHeight, bool printing) {
  const int captionLine = (lineHeight * 10) / 8;
  PicturePlacement placement;
  placement.captionTop = fit.bottom - captionLine;
  if (width <= 0 || height <= 0) {
    placement.picture = {fit.left, fit.top, fit.left, fit.top};
    return placement;
  }
  const int availableWidth = fit.width() - (averageCharWidth * 10) / 4;
  const int availableHeight = fit.height() - captionLine;
  const double scale = std::min(static_cast<double>(availableWidth) / width,
                                static_cast<double>(availableHeight) / height);
  int w = width;
  int h = height;
  if (scale < 1.0 || printing) {
    // A fit rect smaller than its margins gives a negative scale: draw nothing.
    w = std::max(0, scaleExtent(width, scale));
    h = std::max(0, scaleExtent(height, scale));
  }
  const int x = fit.left + (fit.width() - w) / 2;
  int y = fit.top + (availableHeight - h) / 2;
  if (y + h > fit.top + availableHeight) y = fit.top;
  placement.picture = {x, y, x + w, y + h};
  return placement;
}

}  // namespace kalvor::views
