#include "determination/description.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "determination/crystal_data_text.h"
#include "determination/determination_search.h"
#include "determination/formula_scan.h"
#include "platform/settings.h"
#include "platform/settings_keys.h"
#include "refdb/strings.h"
#include "refdb/vocabulary.h"
#include "render/formula_drawing.h"

namespace kalvor {
namespace {

// Windows-1252; hex escapes are split where a letter a-f follows.
constexpr std::string_view kLabels[kDescriptionLabelCount] = {
    "Mineral:", "Systematik:", "Kristallsystem:", "Formel:", "H\xE4rte:", "Farbe:",
    "Strichfarbe:", "Dichte:", "Spaltbarkeit:", "Bruch:", "Glanz:", "Kristallklasse:",
    "Stufen:", "", "Fundorte:", "engl.", "Minerale:", "Begleitminerale:", "Sammlungsindex:",
    "Stufengr\xF6\xDF" "e:", "Anzahl:", "Fund/Kaufdatum:", "Standort:", "Wert:", "Kaufpreis:",
    "Fundort:", "Beschreibung:", "Fundort:", "N\xE4" "chster Ort:", "Region:", "Land:",
    "Kartenreferenz:", "Mineral-Abhakliste:", "Beschreibung:",
};

constexpr int kElementThorium = 93;
constexpr int kElementUranium = 97;
constexpr int kMaxAliasDepth = 5;
constexpr std::size_t kMaxColours = 20;
constexpr std::size_t kMaxStreakColours = 4;
constexpr std::string_view kAliasDash = " \x97 ";

std::uint16_t densityWord(DensityValue d) {
  return static_cast<std::uint16_t>((d.whole << 8) | d.hundredths);
}

std::string_view skipLeadingBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  return text.substr(i);
}

// The pieces of a text between commas; each but the last keeps its comma.
std::vector<std::string_view> commaPieces(std::string_view text) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      pieces.push_back(text.substr(start));
      break;
    }
    pieces.push_back(text.substr(start, comma + 1 - start));
    start = comma + 1;
  }
  return pieces;
}

// Splits rich text into words at blanks that lie outside a reference, and
// into paragraphs at line ends.
std::vector<std::vector<std::string_view>> richParagraphs(std::string_view text) {
  std::vector<std::vector<std::string_view>> paragraphs(1);
  bool inReference = false;
  std::size_t wordStart = 0;
  auto endWord = [&](std::size_t end) {
    if (end > wordStart) paragraphs.back().push_back(text.substr(wordStart, end - wordStart));
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '@') inReference = !inReference;
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      endWord(i);
      paragraphs.emplace_back();
      inReference = false;
      wordStart = i + 2;
      ++i;
    } else if (c == '\n') {
      endWord(i);
      paragraphs.emplace_back();
      inReference = false;
      wordStart = i + 1;
    } else if (c == ' ' && !inReference) {
      endWord(i);
      wordStart = i + 1;
    }
  }
  endWord(text.size());
  return paragraphs;
}

}  // namespace

std::string_view descriptionLabelText(int label) {
  return label >= 0 && label < kDescriptionLabelCount ? kLabels[label] : std::string_view();
}

DescriptionOptions readDescriptionOptions(const Settings& s) {
  DescriptionOptions o;
  o.systematicsAsText = ini::readFlag(s, ini::kSystematicsAsText);
  o.anglesWithMinutes = ini::readFlag(s, ini::kAnglesWithMinutes);
  o.referenceColouring = ini::readFlag(s, ini::kReferenceColouring);
  o.mineralLocalityList = ini::readFlag(s, ini::kMineralLocalityList);
  o.aliasLocalityList = ini::readFlag(s, ini::kAliasLocalityList);
  const std::string colour = ini::readText(s, ini::kReferenceColour);
  int r = 0, g = 0, b = 0;
  if (std::sscanf(colour.c_str(), "%d %d %d", &r, &g, &b) == 3) {
    auto channel = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    o.referenceColour = Rgb{channel(r), channel(g), channel(b)};
  }
  return o;
}

TextExtent DescriptionSources::drawRadioactivityPicture(Canvas&, int, int) const { return {}; }

DescriptionLayout::DescriptionLayout(Canvas& canvas, const DescriptionSources& sources,
                                     DescriptionOptions options, LabelFontTable labelFonts)
    : canvas_(canvas), sources_(sources), options_(options), labelFonts_(labelFonts) {}

FontSlot DescriptionLayout::labelFont(int label) const {
  if (label == kLabelMineral || label == kLabelMinerals || label == kLabelLocality)
    return FontSlot::kHeading;
  if (labelFonts_ == LabelFontTable::kPrint && label >= kLabelSpecimens && label <= kLabelEnglish)
    return FontSlot::kSecondary;
  return FontSlot::kText;
}

int DescriptionLayout::ascentOf(FontSlot slot) {
  ScopedFont font(canvas_, slot);
  return canvas_.ascent();
}

int DescriptionLayout::heightOf(FontSlot slot) {
  ScopedFont font(canvas_, slot);
  return canvas_.measureText("Ag").height;
}

int DescriptionLayout::labelMinimumHeight(int label) { return heightOf(labelFont(label)); }

int DescriptionLayout::valueColumn(const LayoutArea& area) {
  return valueColumnOf(area, kLabelMineral, kLabelLocalities);
}

int DescriptionLayout::valueColumnOf(const LayoutArea& area, int firstLabel, int lastLabel) {
  int widest = 0;
  for (int label = std::max(firstLabel, 0); label <= std::min(lastLabel, kDescriptionLabelCount - 1);
       ++label) {
    ScopedFont font(canvas_, labelFont(label));
    widest = std::max(widest, canvas_.measureText(kLabels[label]).width);
  }
  return area.left + widest + canvas_.averageCharWidth();
}

int DescriptionLayout::drawLabelledLine(int valueX, int y, int label, std::string_view text,
                                        int wrapWidth, int labelX) {
  ScopedFont font(canvas_, labelFont(label));
  text = skipLeadingBlanks(text);
  const int ascent = canvas_.ascent();
  const int minHeight = canvas_.measureText("Ag").height;
  canvas_.drawText(labelX, y + ascent, descriptionLabelText(label));
  if (wrapWidth <= 0) {
    canvas_.drawText(valueX, y + ascent, text);
    lineTops_.push_back(y);
    return y + std::max(minHeight, canvas_.measureText(text).height);
  }
  const int commaWidth = canvas_.measureText(",").width;
  const std::vector<std::string_view> pieces = commaPieces(text);
  std::size_t i = 0;
  bool first = true;
  do {
    // Pieces join a line while it stays narrower than the wrap width; a
    // piece too wide on its own still gets a line.
    std::string line(i < pieces.size() ? pieces[i++] : std::string_view());
    while (i < pieces.size()) {
      const std::string longer = line + std::string(pieces[i]);
      if (canvas_.measureText(skipLeadingBlanks(longer)).width + commaWidth >= wrapWidth) break;
      line = longer;
      ++i;
    }
    const std::string_view shown = skipLeadingBlanks(line);
    canvas_.drawText(valueX, y + ascent, shown);
    lineTops_.push_back(y);
    const int height = canvas_.measureText(shown).height;
    y += first ? std::max(minHeight, height) : height;
    first = false;
  } while (i < pieces.size());
  return y;
}

TextExtent DescriptionLayout::drawRichLine(int x, int baseline, FontSlot linkFont,
                                           std::string_view line, int linkKind, bool draw) {
  const int startX = x;
  int height = canvas_.measureText("Ag").height;
  auto plain = [&](std::string_view text) {
    if (draw) canvas_.drawText(x, baseline, text);
    x += canvas_.measureText(text).width;
  };
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t mark = line.find_first_of("@$", pos);
    if (mark == std::string_view::npos) {
      plain(line.substr(pos));
      break;
    }
    plain(line.substr(pos, mark - pos));
    const std::size_t close = line.find(line[mark], mark + 1);
    if (close == std::string_view::npos) {
      // An unpaired mark is shown as it stands.
      plain(line.substr(mark));
      break;
    }
    const std::string_view inner = line.substr(mark + 1, close - mark - 1);
    if (line[mark] == '$') {
      const FormulaExtent f =
          drawFormula(canvas_, x, baseline, inner, FormulaFonts{}, !draw);
      x = f.endX;
      height = std::max(height, f.lineHeight + f.extraAbove);
    } else {
      std::optional<std::uint16_t> entry;
      if (linkKind > 0) entry = sources_.findGlossaryEntry(inner);
      if (linkKind > 0 && !entry) {
        plain(inner);
      } else {
        std::optional<ScopedTextColour> colour;
        if (options_.referenceColouring) colour.emplace(canvas_, options_.referenceColour);
        ScopedFont font(canvas_, linkFont);
        const int left = x;
        plain(inner);
        if (entry && draw) {
          const int top = baseline - canvas_.inkHeight("\xC4");
          links_.push_back(DescriptionLink{left, top, x, top + canvas_.measureText("\xC4g").height,
                                           *entry, linkKind});
        }
      }
    }
    pos = close + 1;
  }
  return TextExtent{x - startX, height};
}

int DescriptionLayout::drawRichText(int x, int y, FontSlot linkFont, std::string_view text,
                                    int width, int linkKind) {
  const int ascent = canvas_.ascent();
  for (const std::vector<std::string_view>& words : richParagraphs(text)) {
    std::size_t i = 0;
    do {
      std::string line(i < words.size() ? words[i++] : std::string_view());
      while (i < words.size()) {
        const std::string longer = line + " " + std::string(words[i]);
        if (drawRichLine(x, 0, linkFont, longer, linkKind, false).width > width) break;
        line = longer;
        ++i;
      }
      const TextExtent e = drawRichLine(x, y + ascent, linkFont, line, linkKind, true);
      lineTops_.push_back(y);
      y += e.height;
    } while (i < words.size());
  }
  return y;
}

int DescriptionLayout::drawClassSymbols(int x, int baseline, std::string_view symbols) {
  // "\" bars the next character; "_" lowers it into the symbol font without
  // moving on. Runs of plain characters are drawn in one piece.
  std::size_t runStart = 0;
  auto flush = [&](std::size_t end) {
    const std::string_view run = symbols.substr(runStart, end - runStart);
    canvas_.drawText(x, baseline, run);
    x += canvas_.measureText(run).width;
  };
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    const char c = symbols[i];
    if (c != '\\' && c != '_') continue;
    flush(i);
    runStart = i + 1;
    if (i + 1 >= symbols.size()) break;
    const std::string_view next = symbols.substr(i + 1, 1);
    if (c == '_') {
      ScopedFont lowered(canvas_, FontSlot::kLowered);
      canvas_.drawText(x, baseline + canvas_.scriptOffsets().subscriptDrop, next);
    } else {
      const int width = canvas_.measureText(next).width;
      const int barY = baseline - static_cast<int>(1.2 * canvas_.inkHeight("3"));
      canvas_.drawText(x, baseline, next);
      canvas_.drawLine(x, barY, x + width, barY);
      x += width;
    }
    ++i;
    runStart = i + 1;
  }
  if (runStart < symbols.size()) flush(symbols.size());
  return x;
}

int DescriptionLayout::drawCrystalGroup(const LayoutArea& area, const CrystalDataEntry& entry,
                                        int y, bool first, bool withSystem) {
  const int valueX = valueColumn(area);
  const int baseline = y + std::max(ascentOf(labelFont(kLabelCrystalClass)), canvas_.ascent());
  const int lineHeight = std::max(labelMinimumHeight(kLabelCrystalClass), heightOf(FontSlot::kText));
  if (first) {
    ScopedFont font(canvas_, labelFont(kLabelCrystalClass));
    canvas_.drawText(area.left, baseline, kLabels[kLabelCrystalClass]);
  }
  int classX = valueX;
  if (withSystem) {
    // All groups start their classes on one column behind the widest prefix.
    int widest = 0;
    for (const CrystalDataSystem& s : kCrystalDataSystems)
      widest = std::max(widest,
                        canvas_.measureText(loadResourceString(s.stringId - kStringIdBase) + ": ").width);
    canvas_.drawText(valueX, baseline, crystalDataSystemName(entry.classes) + ": ");
    classX = valueX + widest;
  }
  int x = drawClassSymbols(classX, baseline, formatCrystalClasses(entry.classes));
  if ((entry.flags & refformat::kCrystalClassDoubtful) != 0) {
    canvas_.drawText(x, baseline, " ?");
    x += canvas_.measureText(" ?").width;
  }
  lineTops_.push_back(y);
  if ((entry.flags & refformat::kCrystalClassOnly) != 0) return y + lineHeight;

  const std::string text = latticeText(entry, options_.anglesWithMinutes);
  auto widthOf = [&](std::string_view t) {
    return drawFormula(canvas_, 0, baseline, t, FormulaFonts{}, true).endX;
  };
  std::size_t cut = text.size();
  while (x + widthOf(std::string_view(text).substr(0, cut)) > area.right) {
    const std::size_t blank = text.rfind(' ', cut == 0 ? 0 : cut - 1);
    if (blank == std::string::npos || blank == 0) {
      cut = text.size();  // no blank lets it fit: the text goes whole
      break;
    }
    cut = blank;
  }
  drawFormula(canvas_, x, baseline, std::string_view(text).substr(0, cut), FormulaFonts{}, false);
  if (cut >= text.size()) return y + lineHeight;
  // The rest goes on one more line at the class column.
  y += lineHeight;
  drawFormula(canvas_, classX, baseline + lineHeight, std::string_view(text).substr(cut + 1),
              FormulaFonts{}, false);
  lineTops_.push_back(y);
  return y + lineHeight;
}

int DescriptionLayout::drawNameLine(const LayoutArea& area, const MineralRecord& record, int y,
                                    int right) {
  const int valueX = valueColumn(area);
  const FontSlot labelSlot = labelFont(kLabelMineral);
  // On screen the name stands in the index font beside the label; on paper
  // that is 7 pt beside a 17 pt "Mineral:", too small for the one word a
  // collector looks for first, so a printed sheet names the mineral in the
  // label's own size.
  const FontSlot nameSlot = labelFonts_ == LabelFontTable::kPrint ? labelSlot : FontSlot::kSmall;
  const int baseline = y + std::max(ascentOf(labelSlot), ascentOf(nameSlot));
  {
    ScopedFont font(canvas_, labelSlot);
    canvas_.drawText(area.left, baseline, kLabels[kLabelMineral]);
  }
  const std::string name = record.name();
  int nameRight = valueX;
  int height = labelMinimumHeight(kLabelMineral);
  {
    ScopedFont font(canvas_, nameSlot);
    canvas_.drawText(valueX, baseline, name);
    const TextExtent e = canvas_.measureText(name);
    nameRight += e.width;
    height = std::max(height, e.height);
  }
  lineTops_.push_back(y);
  y += height;
  if (options_.systematicsAsText) return y;

  const StrunzField s = record.strunz();
  if (s.cls != 0) {
    const std::string text = formatStrunzNumber(StrunzNumber{s.cls, s.subclass, s.group, s.spare, s.rangeEnd});
    const int x = right - canvas_.measureText(text).width;
    if (x > nameRight) canvas_.drawText(x, baseline, text);
  }
  const HeyField h = record.hey();
  if (h[0] != 0) {
    const std::string text = formatHeyNumber(HeyNumber{h[0], h[1], h[2]});
    canvas_.drawText(right - canvas_.measureText(text).width, y + canvas_.ascent(), text);
  }
  return y;
}

int DescriptionLayout::drawSystematicsText(const LayoutArea& area, const MineralRecord& record,
                                           int y) {
  const int valueX = valueColumn(area);
  const StrunzField s = record.strunz();
  const HeyField h = record.hey();
  const std::optional<std::string> texts[2] = {
      sources_.strunzText(StrunzNumber{s.cls, s.subclass, s.group, s.spare, s.rangeEnd}),
      sources_.heyText(HeyNumber{h[0], h[1], h[2]})};
  bool labelled = false;
  for (const std::optional<std::string>& text : texts) {
    if (!text || text->empty()) continue;
    if (!labelled) {
      ScopedFont font(canvas_, labelFont(kLabelSystematics));
      canvas_.drawText(area.left, y + canvas_.ascent(), kLabels[kLabelSystematics]);
      labelled = true;
    } else {
      y += heightOf(FontSlot::kText) / 6;
    }
    y = drawRichText(valueX, y, FontSlot::kText, *text, area.right - valueX, 0);
  }
  return y;
}

int DescriptionLayout::describeMineral(const LayoutArea& area, const MineralRecord& r, int y) {
  ScopedFont textFont(canvas_, FontSlot::kText);
  const int top = y;
  const int valueX = valueColumn(area);
  const std::string formula = r.formula();
  TextExtent picture;
  const IndexList elements = elementsInFormula(formula);
  if (std::find_if(elements.begin(), elements.end(), [](int e) {
        return e == kElementThorium || e == kElementUranium;
      }) != elements.end()) {
    picture = sources_.drawRadioactivityPicture(canvas_, area.right, top);
  }
  y = drawNameLine(area, r, y, area.right - picture.width);
  y = std::max(y, top + picture.height);
  if (options_.systematicsAsText) y = drawSystematicsText(area, r, y);

  y = drawLabelledLine(valueX, y, kLabelCrystalSystem, formatCrystalSystems(r.crystalSystems()), 0,
                       area.left);

  // The formula line makes room for superscripts above its baseline.
  const FormulaExtent f = drawFormula(canvas_, valueX, 0, formula, FormulaFonts{}, true);
  {
    const FontSlot labelSlot = labelFont(kLabelFormula);
    const int baseline = y + f.extraAbove + std::max(ascentOf(labelSlot), canvas_.ascent());
    {
      ScopedFont font(canvas_, labelSlot);
      canvas_.drawText(area.left, baseline, kLabels[kLabelFormula]);
    }
    drawFormula(canvas_, valueX, baseline, formula, FormulaFonts{}, false);
    lineTops_.push_back(y);
    y += std::max(labelMinimumHeight(kLabelFormula), f.lineHeight + f.extraAbove);
  }

  const std::uint16_t hardness = static_cast<std::uint16_t>((r.hardnessMin() << 8) | r.hardnessMax());
  y = drawLabelledLine(valueX, y, kLabelHardness, formatHardness(hardness, true), 0, area.left);

  const ColourNameLookup colourName = [this](std::uint16_t c) { return sources_.colourName(c); };
  auto codes = [](const std::vector<std::uint16_t>& list) {
    return std::vector<std::int16_t>(list.begin(), list.end());
  };
  const int wrap = area.right - valueX;
  y = drawLabelledLine(valueX, y, kLabelColour,
                       formatColourList(codes(r.colours()), kMaxColours, colourName), wrap, area.left);
  y = drawLabelledLine(valueX, y, kLabelStreak,
                       formatColourList(codes(r.streaks()), kMaxStreakColours, colourName), wrap,
                       area.left);
  y = drawLabelledLine(valueX, y, kLabelDensity,
                       formatDensity(densityWord(r.densityMin()), densityWord(r.densityMax()), true),
                       0, area.left);
  y = drawLabelledLine(valueX, y, kLabelCleavage, formatCleavage(r.cleavage()), 0, area.left);
  y = drawLabelledLine(valueX, y, kLabelFracture, formatFracture(r.fracture()), 0, area.left);
  y = drawLabelledLine(valueX, y, kLabelLustre, formatLustre(r.lustre()), 0, area.left);

  const std::vector<CrystalDataEntry> entries = r.crystalData();
  if (entries.empty()) return drawLabelledLine(valueX, y, kLabelCrystalClass, "", 0, area.left);
  for (std::size_t i = 0; i < entries.size(); ++i)
    y = drawCrystalGroup(area, entries[i], y, i == 0, entries.size() > 1);
  return y;
}

int DescriptionLayout::drawLocalityList(const LayoutArea& area,
                                        const std::vector<MineralLocality>& list, int y) {
  const int lineHeight = heightOf(FontSlot::kText);
  const int ruleY = y + lineHeight / 4;
  canvas_.drawLine(area.left, ruleY, area.right, ruleY);
  y += lineHeight / 2;
  const int valueX = valueColumn(area);
  for (const MineralLocality& locality : list) {
    if (locality.onSpecimen)
      canvas_.drawCheckMark(valueX - canvas_.checkMarkWidth(), y + ascentOf(labelFont(kLabelEmpty)));
    y = drawLabelledLine(valueX, y, kLabelEmpty, locality.line, 0, area.left);
  }
  return y;
}

int DescriptionLayout::describeFullPage(const LayoutArea& area, const MineralRecord& record,
                                        MineralNumber number, int y) {
  if (!describedMineral_) describedMineral_ = number;
  std::vector<MineralLocality> localities;
  if (options_.mineralLocalityList) localities = sources_.localitiesOfMineral(number);
  y = describeMineral(area, record, y);
  if (!localities.empty()) y = drawLocalityList(area, localities, y);
  return y;
}

int DescriptionLayout::describeAlias(const LayoutArea& area, const MineralRecord& record,
                                     MineralNumber number, int y, int depth) {
  if (depth > kMaxAliasDepth) {
    sources_.beep();
    return y;
  }
  ScopedFont textFont(canvas_, FontSlot::kText);
  const std::string name = record.name();
  const std::string target = record.aliasTarget();
  const int baseline = y + canvas_.ascent();
  canvas_.drawText(area.left, baseline, name);
  const int x = area.left + canvas_.measureText(name).width;
  if (target.find(' ') == std::string::npos) {
    canvas_.drawText(x, baseline, loadResourceString(strings::kStrOtherNameFor - kStringIdBase));
    lineTops_.push_back(y);
    y += heightOf(FontSlot::kText);
  } else {
    canvas_.drawText(x, baseline, kAliasDash);
    const int textX = x + canvas_.measureText(kAliasDash).width;
    y = drawRichText(textX, y, FontSlot::kText, target, area.right - textX, depth);
  }

  std::vector<MineralLocality> ownLocalities;
  if (options_.aliasLocalityList) ownLocalities = sources_.localitiesOfMineral(number);

  // The mineral meant is the name between the first two "@", or the whole text.
  std::string_view meant = target;
  const std::size_t at = meant.find('@');
  const std::size_t atEnd = at == std::string_view::npos ? at : meant.find('@', at + 1);
  if (atEnd != std::string_view::npos) meant = meant.substr(at + 1, atEnd - at - 1);
  const std::optional<MineralNumber> found = sources_.findMineral(meant);
  if (!found) return y;
  const MineralRecord next = sources_.mineralRecord(*found);
  if (next.isNoEntry()) return y;
  y += heightOf(FontSlot::kText) / 2;
  if (next.isFullMineral()) {
    y = describeFullPage(area, next, *found, y);
  } else {
    y = describeAlias(area, next, *found, y, depth + 1);
  }
  if (!ownLocalities.empty()) y = drawLocalityList(area, ownLocalities, y);
  return y;
}

int DescriptionLayout::describeEntry(const LayoutArea& area, const MineralRecord& record,
                                     MineralNumber number) {
  lineTops_.clear();
  links_.clear();
  describedMineral_.reset();
  if (record.isNoEntry()) return area.top;
  if (record.isFullMineral()) return describeFullPage(area, record, number, area.top);
  return describeAlias(area, record, number, area.top, 1);
}

}  // namespace kalvor
