// The description page of a mineral or an alias, laid out on a Canvas: the
// labelled lines of the mineral's data, its crystal data with lattice text
// and cell volume, the localities of the user's collection where it occurs,
// and for an alias the sentence that leads to the mineral it names. The same
// layout serves the description window, printing and kalvor-cli.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "refdb/mineral_record.h"
#include "refdb/systematics.h"
#include "render/canvas.h"

namespace kalvor {

class Settings;

// The rectangle a page is laid out in (right and bottom exclusive).
struct LayoutArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
};

// Index of a label of the description label table.
enum DescriptionLabel : int {
  kLabelMineral = 0, kLabelSystematics = 1, kLabelCrystalSystem = 2, kLabelFormula = 3,
  kLabelHardness = 4, kLabelColour = 5, kLabelStreak = 6, kLabelDensity = 7,
  kLabelCleavage = 8, kLabelFracture = 9, kLabelLustre = 10, kLabelCrystalClass = 11,
  kLabelSpecimens = 12, kLabelEmpty = 13, kLabelLocalities = 14, kLabelEnglish = 15,
  kLabelMinerals = 16, kLabelAccompanying = 17, kLabelCollectionIndex = 18,
  kLabelSpecimenSize = 19, kLabelCount = 20, kLabelDate = 21, kLabelStorage = 22,
  kLabelValue = 23, kLabelPrice = 24, kLabelSpecimenLocality = 25,
  kLabelSpecimenDescription = 26, kLabelLocality = 27, kLabelNearestPlace = 28,
  kLabelRegion = 29, kLabelCountry = 30, kLabelMapReference = 31,
  kLabelMineralChecklist = 32, kLabelLocalityDescription = 33,
};
inline constexpr int kDescriptionLabelCount = 34;

// The label text of `label` (Windows-1252); "" outside the table.
std::string_view descriptionLabelText(int label);

// Which label fonts apply: the screen's, or the printer's (labels 12-15 in
// the secondary font).
enum class LabelFontTable { kScreen, kPrint };

// The options of section "Optionen" that a description reads.
struct DescriptionOptions {
  bool systematicsAsText = false;   // "Systematik als Text"
  bool anglesWithMinutes = false;   // "Winkel mit Minuten"
  bool referenceColouring = true;   // "Farbschaltung"
  Rgb referenceColour{0, 127, 0};   // "RefFarbe"
  bool mineralLocalityList = true;  // "Mineral Fundortliste"
  bool aliasLocalityList = true;    // "Mineral AF-Liste"
};

// Reads the options from the settings, each key with its default; a
// "RefFarbe" that is not three numbers keeps the default colour.
DescriptionOptions readDescriptionOptions(const Settings& settings);

// A locality of the collection as a mineral page lists it.
struct MineralLocality {
  std::string line;          // the locality's display line
  bool onSpecimen = false;   // the mineral is on one of the user's specimens from there
};

// What the layout needs from the reference data and the collection.
class DescriptionSources {
 public:
  virtual ~DescriptionSources() = default;
  // The record of entry n (flag 0x80 when there is none).
  virtual MineralRecord mineralRecord(MineralNumber n) const = 0;
  // The entry a referenced mineral name stands for, or nothing.
  virtual std::optional<MineralNumber> findMineral(std::string_view name) const = 0;
  // The glossary entry of a reference word, or nothing.
  virtual std::optional<std::uint16_t> findGlossaryEntry(std::string_view word) const = 0;
  // The name of a colour number (low 12 bits); "" for none.
  virtual std::string colourName(std::uint16_t colour) const = 0;
  // The long systematics texts; nothing when there is none.
  virtual std::optional<std::string> strunzText(const StrunzNumber& n) const = 0;
  virtual std::optional<std::string> heyText(const HeyNumber& n) const = 0;
  // The collection's localities whose mineral list holds n, in the locality
  // sort order.
  virtual std::vector<MineralLocality> localitiesOfMineral(MineralNumber n) const = 0;
  // Draws the radioactivity picture with its top right corner at (right, top)
  // and returns its size; 0 x 0 when there is no picture to draw.
  virtual TextExtent drawRadioactivityPicture(Canvas& canvas, int right, int top) const;
  // Sounds the default beep (an alias chain nests too deep).
  virtual void beep() const {}
};

// A clickable reference word: its rectangle, glossary entry and link kind.
struct DescriptionLink {
  int left = 0, top = 0, right = 0, bottom = 0;
  std::uint16_t glossaryNumber = 0;
  int kind = 0;
};

// Lays out descriptions on one canvas; keeps the top of every line drawn
// and the reference links for the window's scrolling and clicks.
class DescriptionLayout {
 public:
  DescriptionLayout(Canvas& canvas, const DescriptionSources& sources,
                    DescriptionOptions options, LabelFontTable labelFonts = LabelFontTable::kScreen);

  // Lays out the description of a full mineral from y on; returns the y
  // after it.
  int describeMineral(const LayoutArea& area, const MineralRecord& record, int y);

  // Lays out the page of a list entry: the alias page for an alias, else the
  // mineral page (description plus the collection's localities). Returns the
  // y after it.
  int describeEntry(const LayoutArea& area, const MineralRecord& record, MineralNumber number);

  // Draws `label` at labelX and `text` (leading blanks skipped) at valueX on
  // the line whose top is y; with wrapWidth > 0 the text is broken at commas
  // into lines narrower than wrapWidth. Returns the y after the line(s).
  int drawLabelledLine(int valueX, int y, int label, std::string_view text, int wrapWidth,
                       int labelX);

  // Draws word-wrapped text with "@reference@" and "$formula$" markup from x,
  // lines no wider than `width`, the first line's top at y, in the current
  // font; references in `linkFont`. With linkKind > 0 references are looked
  // up in the glossary and kept as links. Returns the y after the text.
  int drawRichText(int x, int y, FontSlot linkFont, std::string_view text, int width,
                   int linkKind);

  // The x of the value column: the widest label of the description plus one
  // average character width, from the area's left.
  int valueColumn(const LayoutArea& area);
  // The same for the labels first..last (the collection pages use 16-33).
  int valueColumnOf(const LayoutArea& area, int firstLabel, int lastLabel);
  // The minimum line height of a label (the height of "Ag" in its font).
  int labelMinimumHeight(int label);
  // The font of a label.
  FontSlot labelFont(int label) const;

  const std::vector<int>& lineTops() const { return lineTops_; }
  const std::vector<DescriptionLink>& links() const { return links_; }
  // The mineral whose full page the last describeEntry laid out: the entry
  // itself, or the mineral an alias leads to; nothing when the page showed none.
  std::optional<MineralNumber> describedMineral() const { return describedMineral_; }
  Canvas& canvas() { return canvas_; }

 private:
  int describeAlias(const LayoutArea& area, const MineralRecord& record, MineralNumber number,
                    int y, int depth);
  int describeFullPage(const LayoutArea& area, const MineralRecord& record,
                       MineralNumber number, int y);
  int drawLocalityList(const LayoutArea& area, const std::vector<MineralLocality>& list, int y);
  int drawNameLine(const LayoutArea& area, const MineralRecord& record, int y, int right);
  int drawSystematicsText(const LayoutArea& area, const MineralRecord& record, int y);
  int drawCrystalGroup(const LayoutArea& area, const CrystalDataEntry& entry, int y, bool first,
                       bool withSystem);
  int drawClassSymbols(int x, int baseline, std::string_view symbols);
  TextExtent drawRichLine(int x, int baseline, FontSlot linkFont, std::string_view line,
                          int linkKind, bool draw);
  int ascentOf(FontSlot slot);
  int heightOf(FontSlot slot);

  Canvas& canvas_;
  const DescriptionSources& sources_;
  DescriptionOptions options_;
  LabelFontTable labelFonts_;
  std::vector<int> lineTops_;
  std::vector<DescriptionLink> links_;
  std::optional<MineralNumber> describedMineral_;
};

}  // namespace kalvor
