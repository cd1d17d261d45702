// The surface that every description, formula and printed report is laid out
// on. The layout code only selects fonts of the description font set,
// measures texts and draws texts and lines; the GDI canvas of the program,
// the measuring canvas of the tests and the text canvas of kalvor-cli
// implement it. Coordinates are device units, y grows downwards, texts are
// drawn on their baseline. Texts are Windows-1252.
#pragma once

#include <cstdint>
#include <string_view>

namespace kalvor {

// The ten slots of the description font set, by slot number.
enum class FontSlot : std::uint8_t {
  kText = 0,       // main font ("Times New Roman")
  kSmall = 1,      // index font: sub- and superscripts, mineral names
  kHeading = 2,    // heading font, 1.4 x the main font
  kSecondary = 3,  // "Arial" at the main font's height
  kItalic = 4,     // "Times New Roman" italic
  kLowered = 5,    // system font: lowered characters of class symbols
  kSystem6 = 6,    // system font
  kSystem7 = 7,    // system font
  kSystem8 = 8,    // system font
  kGreek = 9,      // "Symbol": Greek letters of formulas
};
inline constexpr int kFontSlotCount = 10;

// Extent of a text in the current font: advance width and cell height
// (ascent + descent, the height GDI reports for a text).
struct TextExtent {
  int width = 0;
  int height = 0;
};

// An RGB colour.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Vertical offsets between the main font and the index font, worked out once
// when the fonts are made. All values are positive distances in device units.
struct ScriptOffsets {
  int superscriptRise = 0;  // a superscript's baseline lies this far above the line's
  int subscriptDrop = 0;    // a subscript's baseline lies this far below the line's
  int extraAbove = 0;       // room a superscript needs above the main font's ascent
  int extraBelow = 0;       // room a subscript needs below the main font's descent
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Makes `slot` the current font; returns the slot that was current before.
  virtual FontSlot selectFont(FontSlot slot) = 0;
  // The current font slot.
  virtual FontSlot currentFont() const = 0;

  // Width and cell height of `text` in the current font (0/height for "").
  virtual TextExtent measureText(std::string_view text) = 0;
  // Height of the ink of `text` above the baseline in the current font: how
  // tall the glyphs really are ("3" is shorter than the font's ascent).
  virtual int inkHeight(std::string_view text) = 0;
  // Ascent of the current font: distance from a line's top to its baseline.
  virtual int ascent() = 0;

  // Draws `text` in the current font and text colour with its baseline at
  // `baseline`, starting at `x`; the background stays as it is.
  virtual void drawText(int x, int baseline, std::string_view text) = 0;
  // Draws a one-unit line in the text colour from (x1, y1) to (x2, y2).
  virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
  // Sets the colour of later texts and lines; returns the previous one.
  virtual Rgb setTextColour(Rgb colour) = 0;

  // Draws a check mark (as in a menu) with its box's left edge at `x` and its
  // bottom on `baseline`; checkMarkWidth() tells how wide it is.
  virtual void drawCheckMark(int x, int baseline) = 0;
  virtual int checkMarkWidth() = 0;

  // Restricts later drawing to the rectangle (right and bottom exclusive),
  // replacing any clip set by an earlier clipTo; unclip() lifts it again.
  virtual void clipTo(int left, int top, int right, int bottom) = 0;
  virtual void unclip() = 0;

  // Average character width of the system font: the unit of margins.
  virtual int averageCharWidth() = 0;
  // Offsets of sub- and superscripts between kText and kSmall.
  virtual ScriptOffsets scriptOffsets() = 0;
};

// Selects a font for the lifetime of the object and puts the previous one back.
class ScopedFont {
 public:
  ScopedFont(Canvas& canvas, FontSlot slot) : canvas_(canvas), previous_(canvas.selectFont(slot)) {}
  ~ScopedFont() { canvas_.selectFont(previous_); }
  ScopedFont(const ScopedFont&) = delete;
  ScopedFont& operator=(const ScopedFont&) = delete;

 private:
  Canvas& canvas_;
  FontSlot previous_;
};

// Sets a text colour for the lifetime of the object and puts the previous one back.
class ScopedTextColour {
 public:
  ScopedTextColour(Canvas& canvas, Rgb colour)
      : canvas_(canvas), previous_(canvas.setTextColour(colour)) {}
  ~ScopedTextColour() { canvas_.setTextColour(previous_); }
  ScopedTextColour(const ScopedTextColour&) = delete;
  ScopedTextColour& operator=(const ScopedTextColour&) = delete;

 private:
  Canvas& canvas_;
  Rgb previous_;
};

// Clips drawing to a rectangle for the lifetime of the object.
class ScopedClip {
 public:
  ScopedClip(Canvas& canvas, int left, int top, int right, int bottom) : canvas_(canvas) {
    canvas_.clipTo(left, top, right, bottom);
  }
  ~ScopedClip() { canvas_.unclip(); }
  ScopedClip(const ScopedClip&) = delete;
  ScopedClip& operator=(const ScopedClip&) = delete;

 private:
  Canvas& canvas_;
};

}  // namespace kalvor
