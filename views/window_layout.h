// The arithmetic of the main window's layout: where the list window goes
// beside the description and drawing windows, how the side windows follow a
// resize of the main window, the minimum size, and the placing of pictures
// and centred dialogs. Plain rectangles in pixels; no window system here.
#pragma once

#include <optional>

namespace kalvor::views {

// A rectangle in pixels; right and bottom are exclusive, as in Win32.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Height of the toolbar band; every other child of the main window starts below it.
inline constexpr int kToolbarBandHeight = 27;
// Size of the start-up picture, used to centre it.
inline constexpr int kStartPictureWidth = 600;
inline constexpr int kStartPictureHeight = 230;

// The list window's rectangle in the main window's client area `client`:
// right of the description window (its outer rect, when open), below the
// toolbar band and the drawing window (its outer rect, when open); never of
// negative size.
Rect listRectangle(const Rect& client, const std::optional<Rect>& description,
                   const std::optional<Rect>& drawing);

// Horizontal and vertical ratio of a resize of the main window.
struct ResizeRatios {
  double horizontal = 1.0;
  double vertical = 1.0;
  friend bool operator==(const ResizeRatios&, const ResizeRatios&) = default;
};

// new size / saved size per axis; both 1.0 when the saved rect has zero width or height.
ResizeRatios resizeRatios(const Rect& savedMain, const Rect& newMain);

// `extent` × `ratio`, truncated toward zero.
int scaleExtent(int extent, double ratio);

// Which child a resize of the main window moves, and where to.
struct ResizeMove {
  enum class Target { None, Drawing, Description, List };
  Target target = Target::None;
  // Client coordinates of the moved child's new outer rectangle.
  Rect rect;
  friend bool operator==(const ResizeMove&, const ResizeMove&) = default;
};

// The first move of a non-minimising resize: the drawing window when open
// (scaled, at the top right), else the description window (scaled, at the
// left; the caller then places the list), else the list over the client area
// below the toolbar band. `client` is the new client rect; the side rects are
// the windows' current outer rects.
ResizeMove planResize(const Rect& client, const Rect& savedMain, const Rect& newMain,
                      const std::optional<Rect>& drawing, const std::optional<Rect>& description,
                      bool listExists);

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Minimum tracking size of the main window: 200 quarter character widths plus
// 100 pixels wide, two thirds of the desktop high (integer division).
Size minimumTrackSize(int averageCharWidth, int desktopHeight);

// Top-left corner of the start-up picture centred in a client area of that size.
Point startPicturePosition(int clientWidth, int clientHeight);

// Position of a dialog of that size centred over a client area of that size.
Point centredDialogPosition(int clientWidth, int clientHeight, int dialogWidth, int dialogHeight);

// Where a picture goes inside a fit rectangle: the picture's destination
// rectangle and the baseline-free top of its caption line.
struct PicturePlacement {
  Rect picture;
  int captionTop = 0;
  friend bool operator==(const PicturePlacement&, const PicturePlacement&) = default;
};

// Places a width × height picture in `fit`: shrunk (never enlarged, unless
// `printing`) to the fit rect less 10/4 character widths across and one
// caption line of (lineHeight × 10) / 8 down, keeping its proportions; centred
// across, and down within the height above the caption line.
PicturePlacement fitPicture(int width, int height, const Rect& fit, int averageCharWidth,
                            int lineHeight, bool printing);

}  // namespace kalvor::views
