// Painting the description window by the kind of entry the shell chose.
// Every paint draws into a memory bitmap first, so a selection change held
// down in the list never shows a half-drawn page.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "controls/list_control.h"
#include "pages/collection_description.h"
#include "platform/settings.h"
#include "resources/resource_ids.h"
#include "shell/description_sources_win.h"
#include "shell/description_window.h"
#include "win32/gdi_canvas.h"
#include "win32/gdi_objects.h"

namespace kalvor::shell {
namespace {

// The text shown while the first view is not there yet.
constexpr const char* kStartupText = "Initialisiere die Datenbank";
// Nothing a page holds is lower than this: the layouts run to their end.
constexpr int kPageDepth = 1 << 28;

Rgb rgbOf(COLORREF colour) {
  return Rgb{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// The last first line of a page whose lines start at `tops` and that ends at
// `bottom`: from there the rest fills the visible height (a full last page).
int lastPageLine(const std::vector<int>& tops, int bottom, int topMargin, int visible) {
  int last = 0;
  for (int k = static_cast<int>(tops.size()) - 1; k > 0; --k) {
    if (bottom - tops[static_cast<std::size_t>(k)] + topMargin > visible) break;
    last = k;
  }
  if (last == 0 && !tops.empty() && bottom > visible) last = static_cast<int>(tops.size()) - 1;
  return last;
}

}  // namespace

void DescriptionWindow::paint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(window(), &ps);
  // While the shell creates the window nothing is drawn: it does not stand yet.
  if (dc && !paintingSuppressed_) {
    RECT client;
    GetClientRect(window(), &client);
    if (client.right > 0 && client.bottom > 0) {
      const win32::MemoryDc memory(dc);
      const win32::GdiBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
      if (memory && bitmap) {
        const win32::ScopedSelectObject selected(memory.get(), bitmap.get());
        FillRect(memory.get(), &client, GetSysColorBrush(COLOR_WINDOW));
        contentBottom_ = client.bottom;
        paintInto(memory.get(), client);
        // The scroll bar is a child window of its own: it is not painted over.
        const int width = scrollBar_ ? std::max(0, static_cast<int>(client.right) - scrollBarWidth()) : client.right;
        // Below a page's end an erased window already shows what the bitmap holds.
        const int height = erased_ ? std::clamp(contentBottom_, 0, static_cast<int>(client.bottom)) : client.bottom;
        BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
      }
    }
  }
  erased_ = false;
  EndPaint(window(), &ps);
}

void DescriptionWindow::paintInto(HDC dc, const RECT& client) {
  const views::DescriptionKind kind =
      app_.data.reference ? app_.views.descriptionKind : views::DescriptionKind::None;
  if (kind != shown_) {
    // Another display: the scroll bar and everything laid out go.
    removeScrollBar();
    page_ = {};
    text_ = {};
    shownEntry_ = -1;
    links_.clear();
    shown_ = kind;
  }
  switch (kind) {
    case views::DescriptionKind::None: {
      if (startTextShown_) return;
      // Shown once; afterwards the display holds an empty text.
      startTextShown_ = true;
      text_.text = kStartupText;
      RECT area = client;
      area.top += app_.display.fonts.lineHeight() * 10 / 8;
      layOutTextDisplay(dc, area);
      paintLaidOutText(dc, area);
      text_ = {};
      return;
    }
    case views::DescriptionKind::Mineral:
      paintMineral(dc, client);
      return;
    case views::DescriptionKind::Glossary:
      paintGlossary(dc, client);
      return;
    case views::DescriptionKind::Locality:
    case views::DescriptionKind::Specimen:
      paintRecordPage(dc, client, kind);
      return;
  }
}

const Glossary* DescriptionWindow::linkGlossary() {
  if (app_.data.glossary) return &*app_.data.glossary;
  if (!ownGlossaryTried_ && app_.data.reference) {
    ownGlossaryTried_ = true;
    ownGlossary_ = Glossary::open(app_.data.reference->folder());
  }
  return ownGlossary_ ? &*ownGlossary_ : nullptr;
}

namespace {

// What the page kinds share: the window's fonts and colours on a canvas.
struct PageCanvas {
  PageCanvas(HDC dc, const win32::DescriptionFontSet& fonts) : canvas(dc, fonts) {
    canvas.setTextColour(rgbOf(GetSysColor(COLOR_WINDOWTEXT)));
  }
  win32::GdiCanvas canvas;
};

}  // namespace

void DescriptionWindow::paintPage(HDC dc, const RECT& client, int scrollId, int topMargin,
                                  const std::function<PagePass(int right, int offset)>& layOut) {
  const int barWidth = scrollBarWidth();
  if (page_.valid && page_.width == client.right) {
    const int offset = page_.first > 0 && static_cast<std::size_t>(page_.first) < page_.lineTops.size()
                           ? page_.lineTops[static_cast<std::size_t>(page_.first)] - topMargin
                           : 0;
    const PagePass pass = layOut(client.right - placeScrollBar(scrollId, page_.last, page_.first), offset);
    contentBottom_ = pass.bottom - offset + app_.display.fonts.lineHeight();
    return;
  }
  // A new page is drawn at once from its top, in the width the scroll bar
  // left last time; only when the guess is wrong is it drawn a second time.
  page_.first = 0;
  bool narrow = scrollBar_ != nullptr && scrollBarId_ == scrollId;
  PagePass pass = layOut(client.right - (narrow ? barWidth : 0), 0);
  if ((pass.bottom > client.bottom) != narrow) {
    narrow = !narrow;
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    pass = layOut(client.right - (narrow ? barWidth : 0), 0);
  }
  page_.bottom = pass.bottom;
  page_.lineTops = std::move(pass.lineTops);
  page_.last = narrow ? std::max(1, lastPageLine(page_.lineTops, page_.bottom, topMargin, client.bottom)) : 0;
  page_.width = client.right;
  page_.valid = true;
  placeScrollBar(scrollId, page_.last, page_.first);
  contentBottom_ = page_.bottom + app_.display.fonts.lineHeight();
}

void DescriptionWindow::paintMineral(HDC dc, const RECT& client) {
  const HWND list = GetDlgItem(app_.windows.main, ID_LIST_WINDOW);
  const std::uint32_t id = controls::listSelectedMineral(list);
  if (id == 0) return;
  if (static_cast<std::int32_t>(id) != page_.key || page_.kind != views::DescriptionKind::Mineral) {
    // Another mineral: its links start closed, its page at the top.
    levels_.clear();
    links_.clear();
    page_ = {};
    page_.kind = views::DescriptionKind::Mineral;
    page_.key = static_cast<std::int32_t>(id);
  }
  const MineralNumber number = static_cast<MineralNumber>(id - 1);
  ReferenceData& data = *app_.data.reference;
  const MineralRecord record = data.database().readMineralRecord(number);
  const WinDescriptionSources sources(data, linkGlossary());
  const DescriptionOptions options = readDescriptionOptions(*app_.settings.ini);
  PageCanvas page(dc, app_.display.fonts);
  const int margin = app_.display.fonts.averageCharWidth() / 2;
  const int topMargin = app_.display.fonts.lineHeight() / 4;

  std::optional<std::int32_t> described;
  auto layOut = [&](int right, int offset) {
    DescriptionLayout layout(page.canvas, sources, options);
    const int bottom = layout.describeEntry({margin, topMargin - offset, right - margin, kPageDepth}, record, number);
    links_ = layout.links();
    described = layout.describedMineral() ? static_cast<std::int32_t>(*layout.describedMineral()) : -1;
    return PagePass{bottom + offset, layout.lineTops()};
  };
  paintPage(dc, client, ID_DESC_MINERAL_SCROLL, topMargin, layOut);
  // Another entry, or an alias's page that leads to another mineral: the
  // drawing window starts again with the first drawing of the mineral shown.
  if (described && (app_.windows.describedEntry != static_cast<std::int32_t>(id) ||
                    app_.windows.describedMineral != *described)) {
    app_.windows.describedEntry = static_cast<std::int32_t>(id);
    app_.windows.describedMineral = *described;
    // Sent, not posted: the drawing window has started again when this paint ends.
    if (app_.windows.drawing) SendMessageA(app_.windows.drawing, WM_COMMAND, CMD_DRAWING_RESTART, 0);
  }
  // The opened links stand out inverted.
  for (std::size_t index : levels_.opened(links_)) {
    const DescriptionLink& link = links_[index];
    const RECT r = {link.left, link.top, link.right, link.bottom};
    InvertRect(dc, &r);
  }
}

void DescriptionWindow::paintRecordPage(HDC dc, const RECT& client, views::DescriptionKind kind) {
  const HWND list = GetDlgItem(app_.windows.main, ID_LIST_WINDOW);
  const std::int32_t record = controls::listSelectedRecord(list);
  if (record <= 0) return;
  if (record != page_.key || page_.kind != kind) {
    page_ = {};
    page_.kind = kind;
    page_.key = record;
  }
  ReferenceData& data = *app_.data.reference;
  Collection& collection = data.collection();
  std::optional<Locality> locality;
  std::optional<Specimen> specimen;
  if (kind == views::DescriptionKind::Locality) {
    locality = readLocality(collection, static_cast<std::uint32_t>(record));
    if (!locality) return;
  } else {
    specimen = readSpecimen(collection, static_cast<std::uint32_t>(record));
    if (!specimen) return;
    if (specimen->localityNumber() != 0) locality = readLocality(collection, specimen->localityNumber());
  }
  const WinDescriptionSources sources(data, nullptr);
  const DescriptionOptions options = readDescriptionOptions(*app_.settings.ini);
  PageCanvas page(dc, app_.display.fonts);
  const int margin = app_.display.fonts.averageCharWidth() / 2;
  auto layOut = [&](int right, int offset) {
    DescriptionLayout layout(page.canvas, sources, options);
    const LayoutArea area{margin, -offset, right - margin, kPageDepth};
    const int bottom = specimen ? describeSpecimen(layout, area, *specimen, data.names(), locality)
                                : describeLocality(layout, area, *locality, data.names());
    PagePass pass{bottom + offset, layout.lineTops()};
    // A page without recorded lines scrolls by text lines.
    if (pass.lineTops.empty())
      for (int y = 0; y < pass.bottom; y += app_.display.fonts.lineHeight()) pass.lineTops.push_back(y);
    return pass;
  };
  paintPage(dc, client, ID_DESC_LOCALITY_SCROLL, 0, layOut);
}

void DescriptionWindow::paintGlossary(HDC dc, const RECT& client) {
  const HWND list = GetDlgItem(app_.windows.main, ID_LIST_WINDOW);
  const std::int32_t entry = controls::listSelectedRecord(list) - 1;
  if (entry < 0 || !app_.data.glossary) return;
  const std::optional<std::string> stored = app_.data.glossary->entry(static_cast<std::uint16_t>(entry));
  // An entry that cannot be read leaves the window blank.
  if (!stored) return;
  if (entry != shownEntry_) {
    shownEntry_ = entry;
    text_ = {};
  }
  const GlossaryPage split = splitGlossaryEntry(*stored);
  RECT area = client;
  area.left += app_.display.fonts.averageCharWidth() / 2;
  if (split.heading) {
    PageCanvas page(dc, app_.display.fonts);
    const ScopedFont heading(page.canvas, FontSlot::kHeading);
    const int ascent = page.canvas.ascent();
    page.canvas.drawText(area.left, client.top + ascent, *split.heading);
    area.top += page.canvas.measureText(*split.heading).height;
  } else {
    area.top += app_.display.fonts.lineHeight() / 2;
  }
  text_.text = stored->substr(split.textStart);
  layOutTextDisplay(dc, area);
  paintLaidOutText(dc, area);
}

void DescriptionWindow::layOutTextDisplay(HDC dc, RECT& area) {
  PageCanvas page(dc, app_.display.fonts);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (text_.width != width) {
    text_.width = width;
    text_.layout = layOutText(page.canvas, text_.text, width, height);
    text_.last = 0;
    if (!text_.layout.fits) {
      text_.layout = layOutText(page.canvas, text_.text, width - scrollBarWidth());
      // Scrolling ends at the last full page, not at the last line alone.
      text_.last = lastScrollLine(text_.layout, height - app_.display.fonts.lineHeight() * 6 / 8 +
                                                    page.canvas.ascent());
    }
    text_.first = std::min(text_.first, text_.last);
  }
  area.right -= placeScrollBar(ID_DESC_TEXT_SCROLL, text_.last, text_.first);
  text_.area = area;
}

void DescriptionWindow::paintLaidOutText(HDC dc, const RECT& area) {
  PageCanvas page(dc, app_.display.fonts);
  drawLaidOutText(page.canvas, text_.text, text_.layout, text_.first, area.left, area.top, area.bottom,
                  app_.display.fonts.lineHeight() * 6 / 8);
}

}  // namespace kalvor::shell
