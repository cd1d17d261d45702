// A canvas that turns a layout into lines of plain text for kalvor-cli.
// Every character of every font takes one column, so x positions are
// columns; a line of text is 4 units high and scripts sit 1 unit off the
// baseline, so each baseline of a normal font becomes one output line and
// the scripts join the line nearest to them. The output is UTF-8 (the
// command line's encoding): sub- and superscripts become the Unicode
// sub/superscript characters where all characters of a run have one, else
// "_{...}" / "^{...}"; the Greek font's letters become Greek letters; a short
// line over characters becomes a combining overline; other horizontal lines
// become a row of "-"; a check mark becomes "✓".
#pragma once

#include <string>
#include <vector>

#include "render/measuring_canvas.h"

namespace kalvor {

// The cell metrics of the text canvas (see the file comment).
FixedCanvasMetrics textCellMetrics();

class TextCanvas : public MeasuringCanvas {
 public:
  TextCanvas();

  // The drawn page as UTF-8 lines, top to bottom, without trailing blanks.
  std::vector<std::string> renderLines() const;
  // The same lines, each followed by "\n".
  std::string renderText() const;
};

// UTF-8 form of a Windows-1252 character drawn in the Greek ("Symbol") font.
std::string greekFontCharToUtf8(char c);

}  // namespace kalvor
