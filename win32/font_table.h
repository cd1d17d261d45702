// The program's font table made from "kalvor.ini" on the screen, and the
// font variants other windows derive from it.
#pragma once

#include <windows.h>

#include "platform/settings.h"
#include "win32/gdi_canvas.h"
#include "win32/gdi_objects.h"

namespace kalvor::win32 {

// Width of the screen in pixels (the "DISPLAY" device's horizontal resolution).
int screenWidth();

// Creates the font table on a "DISPLAY" device context, small when
// [Optionen] "Kleine Zeichensätze" says so (absent: screen at most 800 wide).
// Called once at start; the table lives until shut-down.
DescriptionFontSet createFontTable(const Settings& settings);

// Deletes every font of `fonts` that is not the stock system font, then
// creates the table anew from the settings (after the options dialog). The
// windows that hold the old main font must be handed the new one.
void recreateFontTable(DescriptionFontSet& fonts, const Settings& settings);

// A new font like `font` but italic (for the list control's rows of other
// names); null when `font` is null or the font cannot be made. Owned by the caller.
GdiFont createItalicVariant(HFONT font);

}  // namespace kalvor::win32
