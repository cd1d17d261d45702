#include "win32/font_table.h"

#include <algorithm>
#include <utility>

#include "views/options.h"

namespace kalvor::win32 {
namespace {

constexpr BYTE kOutputTrueTypeOnly = 7;     // OUT_TT_ONLY_PRECIS
constexpr BYTE kClipTrueTypeAlways = 0x20;  // CLIP_TT_ALWAYS
constexpr BYTE kProofQuality = 2;
constexpr BYTE kVariablePitch = 2;
constexpr BYTE kSymbolPitchAndFamily = 0x50;

// The description of a font of the table: only height, weight, italic,
// character set, pitch and face differ between the slots.
LOGFONTA describe(int height, int weight, bool italic, BYTE charset, BYTE pitchAndFamily, const char* face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = charset;
  lf.lfOutPrecision = kOutputTrueTypeOnly;
  lf.lfClipPrecision = kClipTrueTypeAlways;
  lf.lfQuality = kProofQuality;
  lf.lfPitchAndFamily = pitchAndFamily;
  lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
  return lf;
}

TEXTMETRICA metricsOf(HDC dc, HFONT font) {
  ScopedSelectObject select(dc, font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  return tm;
}

// Sizes `lf` so that its capital "A" is `target` pixels tall; the font of the
// last round when no size fits exactly.
GdiFont matchFont(HDC dc, LOGFONTA lf, int target) {
  GdiFont font;
  views::matchCapitalHeight(lf.lfHeight, target, [&](int height) {
    lf.lfHeight = height;
    font = GdiFont(CreateFontIndirectA(&lf));
    if (!font) return target;  // nothing to measure: keep what there is
    ScopedSelectObject select(dc, font.get());
    return capitalHeight(dc, "A");
  });
  return font;
}

// The screen's device context, deleted at the end.
class DisplayDc {
 public:
  DisplayDc() : dc_(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
  ~DisplayDc() {
    if (dc_) DeleteDC(dc_);
  }
  DisplayDc(const DisplayDc&) = delete;
  DisplayDc& operator=(const DisplayDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// "Kleine Zeichensätze", absent: on for a screen at most 800 pixels wide.
bool smallFontsOn(HDC screen, const Settings& settings) {
  return views::smallFontsOption(settings, views::isSmallScreen(GetDeviceCaps(screen, HORZRES)));
}

}  // namespace

DescriptionFontSet DescriptionFontSet::create(HDC dc, bool smallFonts) {
  DescriptionFontSet set;
  const TEXTMETRICA system = metricsOf(dc, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  set.averageCharWidth_ = std::max<int>(1, system.tmAveCharWidth);
  set.lineHeight_ = std::max<int>(1, system.tmHeight + system.tmExternalLeading);
  const int weight = system.tmWeight;
  const int mainHeight =
      smallFonts ? static_cast<int>(system.tmHeight * -0.8) : -static_cast<int>(system.tmHeight);

  auto slot = [&](FontSlot s) -> GdiFont& { return set.fonts_[static_cast<int>(s)]; };
  const LOGFONTA mainFont =
      describe(mainHeight, weight, false, ANSI_CHARSET, kVariablePitch, "Times New Roman");
  slot(FontSlot::kText) = GdiFont(CreateFontIndirectA(&mainFont));

  TEXTMETRICA main{};
  int capital = 0;
  {
    ScopedSelectObject select(dc, set.font(FontSlot::kText));
    GetTextMetricsA(dc, &main);
    capital = capitalHeight(dc, "A");
  }
  const int body = main.tmHeight - main.tmInternalLeading;

  const LOGFONTA symbol =
      describe(mainHeight, weight, false, SYMBOL_CHARSET, kSymbolPitchAndFamily, "Symbol");
  slot(FontSlot::kGreek) = GdiFont(CreateFontIndirectA(&symbol));
  slot(FontSlot::kHeading) = matchFont(
      dc,
      describe(static_cast<int>(body * -1.4), weight, false, ANSI_CHARSET, kVariablePitch, "Times New Roman"),
      static_cast<int>(capital * 1.4));
  slot(FontSlot::kSecondary) =
      matchFont(dc, describe(-body, weight, false, ANSI_CHARSET, kVariablePitch, "Arial"), capital);
  slot(FontSlot::kItalic) =
      matchFont(dc, describe(-body, weight, true, ANSI_CHARSET, kVariablePitch, "Times New Roman"), capital);
  LOGFONTA index = mainFont;
  index.lfHeight = static_cast<int>(body * -0.8);
  slot(FontSlot::kSmall) = matchFont(dc, index, static_cast<int>(capital * 0.8));

  // Scripts: a superscript's baseline two fifths of the main ascent up, a
  // subscript's a quarter down; the room they need beyond the main font's.
  const TEXTMETRICA small = metricsOf(dc, set.font(FontSlot::kSmall));
  ScriptOffsets& o = set.offsets_;
  o.superscriptRise = main.tmAscent * 2 / 5;
  o.subscriptDrop = main.tmAscent / 4;
  o.extraAbove = std::max<int>(0, o.superscriptRise + small.tmAscent - main.tmAscent);
  o.extraBelow = std::max<int>(0, o.subscriptDrop + small.tmDescent - main.tmDescent);
  // Slots 5 to 8 stay empty: font() gives the stock system font for them.
  return set;
}

void DescriptionFontSet::reset() {
  for (GdiFont& font : fonts_) font.reset();
}

void DescriptionFontSet::recreate(HDC dc, bool smallFonts) {
  reset();
  const unsigned next = generation_ + 1;
  *this = create(dc, smallFonts);
  generation_ = next;
}

int screenWidth() {
  DisplayDc screen;
  return screen.get() ? GetDeviceCaps(screen.get(), HORZRES) : GetSystemMetrics(SM_CXSCREEN);
}

DescriptionFontSet createFontTable(const Settings& settings) {
  DisplayDc screen;
  if (!screen.get()) return DescriptionFontSet();
  return DescriptionFontSet::create(screen.get(), smallFontsOn(screen.get(), settings));
}

void recreateFontTable(DescriptionFontSet& fonts, const Settings& settings) {
  DisplayDc screen;
  if (!screen.get()) {
    fonts.reset();
    return;
  }
  fonts.recreate(screen.get(), smallFontsOn(screen.get(), settings));
}

GdiFont createItalicVariant(HFONT font) {
  if (!font) return GdiFont();
  LOGFONTA lf{};
  if (GetObjectA(font, sizeof lf, &lf) != sizeof lf) return GdiFont();
  lf.lfItalic = TRUE;
  return GdiFont(CreateFontIndirectA(&lf));
}

}  // namespace kalvor::win32
