#include "determination/laid_out_text.h"

#include <algorithm>

#include "render/formula_drawing.h"

namespace kalvor {
namespace {

bool isMarkup(char c) { return c == '#' || c == '@' || c == '$'; }
bool isSeparator(char c) { return c == ' ' || c == '~'; }

// The end of the markup run opened at `open` (the closing marker, or `end`
// when the run is not closed before it).
std::size_t runClose(std::string_view text, std::size_t open, std::size_t end) {
  const std::size_t close = text.find(text[open], open + 1);
  return close == std::string_view::npos || close >= end ? end : close;
}

struct SpanExtent {
  int width = 0;
  int height = 0;
  int extraAbove = 0;  // room the formulas of the span need above the line
};

// Measures, and with `draw` draws, text[begin, end) from x on the baseline;
// link areas of drawn "#" and "@" runs go to `links`.
SpanExtent walkSpan(Canvas& canvas, std::string_view text, std::size_t begin, std::size_t end, bool draw,
                    int x, int baseline, std::vector<TextLinkArea>* links) {
  SpanExtent extent;
  const int startX = x;
  auto grow = [&](int height) { extent.height = std::max(extent.height, height); };
  auto addLink = [&](int left, int right, FontSlot font, std::string_view body, char marker) {
    if (!links) return;
    const ScopedFont scoped(canvas, font);
    const int ascent = canvas.ascent();
    const int height = canvas.measureText("Ag").height;
    TextLinkArea area;
    area.left = left;
    area.right = right;
    area.top = baseline - ascent;
    area.bottom = area.top + height;
    std::copy_n(body.begin(), std::min<std::size_t>(4, body.size()), area.key.begin());
    area.level = static_cast<std::uint8_t>(marker);
    links->push_back(area);
  };
  std::size_t i = begin;
  while (i < end) {
    const char c = text[i];
    if (!isMarkup(c)) {
      std::size_t stop = i;
      while (stop < end && !isMarkup(text[stop])) ++stop;
      const std::string_view plain = text.substr(i, stop - i);
      const ScopedFont scoped(canvas, FontSlot::kText);
      const TextExtent e = canvas.measureText(plain);
      if (draw) canvas.drawText(x, baseline, plain);
      x += e.width;
      grow(e.height);
      i = stop;
      continue;
    }
    const std::size_t close = runClose(text, i, end);
    const std::string_view body = text.substr(i + 1, close > i ? close - i - 1 : 0);
    const int runLeft = x;
    if (c == '#') {
      {
        const ScopedFont scoped(canvas, FontSlot::kGreek);
        const char arrow[1] = {kCrossReferenceArrow};
        const TextExtent e = canvas.measureText(std::string_view(arrow, 1));
        if (draw) canvas.drawText(x, baseline, std::string_view(arrow, 1));
        x += e.width;
        grow(e.height);
      }
      const ScopedFont scoped(canvas, FontSlot::kSecondary);
      const TextExtent e = canvas.measureText(body);
      if (draw) canvas.drawText(x, baseline, body);
      x += e.width;
      grow(e.height);
      if (draw) addLink(runLeft, x, FontSlot::kSecondary, body, c);
    } else if (c == '@') {
      const ScopedFont scoped(canvas, FontSlot::kItalic);
      const TextExtent e = canvas.measureText(body);
      if (draw) canvas.drawText(x, baseline, body);
      x += e.width;
      grow(e.height);
      if (draw) addLink(runLeft, x, FontSlot::kItalic, body, c);
      // Italics lean into what follows: a quarter character keeps them apart.
      x += canvas.averageCharWidth() / 4;
    } else {
      const FormulaExtent f = drawFormula(canvas, x, baseline, body, FormulaFonts{}, !draw);
      x = f.endX;
      grow(f.lineHeight);
      extent.extraAbove = std::max(extent.extraAbove, f.extraAbove);
    }
    i = close < end ? close + 1 : end;
  }
  extent.width = x - startX;
  if (extent.height == 0) {
    const ScopedFont scoped(canvas, FontSlot::kText);
    extent.height = canvas.measureText("").height;
  }
  return extent;
}

std::size_t skipSeparators(std::string_view text, std::size_t i) {
  while (i < text.size() && isSeparator(text[i])) ++i;
  return i;
}

}  // namespace

int TextLayout::height() const {
  int sum = 0;
  for (const TextLine& line : lines) sum += line.height;
  return sum;
}

TextLayout layOutText(Canvas& canvas, std::string_view text, int width, int fitHeight) {
  TextLayout layout;
  int total = 0;
  // Records text[start, end) as a line; false when the fit check stops.
  auto endLine = [&](std::size_t start, std::size_t end) {
    const SpanExtent e = walkSpan(canvas, text, start, end, false, 0, 0, nullptr);
    // A raised formula needs its room above: the line before gives it.
    if (e.extraAbove > 0 && !layout.lines.empty()) {
      layout.lines.back().height = static_cast<std::uint16_t>(layout.lines.back().height + e.extraAbove);
      total += e.extraAbove;
    }
    layout.lines.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint16_t>(end - start),
                            static_cast<std::uint16_t>(e.height)});
    total += e.height;
    if (fitHeight > 0 && total > fitHeight) {
      layout.fits = false;
      return false;
    }
    return true;
  };
  auto widthOf = [&](std::size_t start, std::size_t end) {
    return walkSpan(canvas, text, start, end, false, 0, 0, nullptr).width;
  };

  std::size_t lineStart = skipSeparators(text, 0);
  std::size_t lastBlank = std::string_view::npos;
  std::size_t i = lineStart;
  while (i < text.size()) {
    const char c = text[i];
    if (isMarkup(c)) {
      // A marked run is never broken: its blanks are no break points.
      const std::size_t close = runClose(text, i, text.size());
      i = close < text.size() ? close + 1 : close;
      continue;
    }
    if (!isSeparator(c)) {
      ++i;
      continue;
    }
    std::size_t end = std::string_view::npos;
    if (widthOf(lineStart, i) > width) {
      end = lastBlank != std::string_view::npos ? lastBlank : i;
    } else if (c == '~') {
      end = i;
    }
    if (end == std::string_view::npos) {
      lastBlank = i;
      ++i;
      continue;
    }
    if (!endLine(lineStart, end)) return layout;
    lineStart = skipSeparators(text, end);
    lastBlank = std::string_view::npos;
    i = lineStart;
  }
  if (lineStart < text.size()) {
    if (widthOf(lineStart, text.size()) > width && lastBlank != std::string_view::npos) {
      if (!endLine(lineStart, lastBlank)) return layout;
      lineStart = skipSeparators(text, lastBlank);
    }
    if (lineStart < text.size()) endLine(lineStart, text.size());
  }
  return layout;
}

std::vector<TextLinkArea> drawLaidOutText(Canvas& canvas, std::string_view text, const TextLayout& layout,
                                          int firstLine, int left, int top, int bottom, int firstBaseline) {
  std::vector<TextLinkArea> links;
  int lineTop = top;
  int baseline = top + firstBaseline;
  for (std::size_t n = static_cast<std::size_t>(std::max(firstLine, 0)); n < layout.lines.size(); ++n) {
    if (lineTop >= bottom) break;
    const TextLine& line = layout.lines[n];
    const std::size_t start = std::min<std::size_t>(line.start, text.size());
    const std::size_t end = std::min<std::size_t>(start + line.length, text.size());
    walkSpan(canvas, text, start, end, true, left, baseline, &links);
    lineTop += line.height;
    baseline += line.height;
  }
  return links;
}

int lastScrollLine(const TextLayout& layout, int height) {
  int sum = 0;
  int line = static_cast<int>(layout.lines.size());
  while (line > 0 && sum + layout.lines[static_cast<std::size_t>(line - 1)].height <= height) {
    --line;
    sum += layout.lines[static_cast<std::size_t>(line)].height;
  }
  // A single line taller than the window still gets scrolled to.
  return std::min(line, std::max(0, static_cast<int>(layout.lines.size()) - 1));
}

int clampScrollLine(int line, int lastLine) { return std::clamp(line, 0, std::max(lastLine, 0)); }

GlossaryPage splitGlossaryEntry(std::string_view entry) {
  GlossaryPage page;
  if (entry.empty() || entry[0] != '#') return page;
  const std::size_t close = entry.find('#', 1);
  if (close == std::string_view::npos) return page;
  std::string heading(entry.substr(1, close - 1));
  std::size_t headingEnd = close;
  if (close + 1 < entry.size() && entry[close + 1] == ',') {
    heading += ',';
    headingEnd = close + 1;
  }
  page.heading = std::move(heading);
  // One separator after the heading is skipped; an entry that ends with its
  // heading has no text below it.
  page.textStart = std::min(headingEnd + 2, entry.size());
  return page;
}

}  // namespace kalvor
