// Drawing the program's own monochrome pictures ("logos.pf") with GDI: the
// start-up logo and the two pictures of the Info dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "refdb/picture_cache.h"
#include "refdb/picture_file.h"
#include "views/window_layout.h"

namespace kalvor::shell {

// File offsets in "logos.pf" at which the offsets of its pictures stand.
inline constexpr std::uint32_t kStartLogoSlot = 4;
inline constexpr std::uint32_t kInfoCaptionedPictureSlot = 8;
inline constexpr std::uint32_t kInfoPictureSlot = 12;

// The picture whose offset stands at file offset `slot` (4, 8, 12, ...) of the
// picture file at `path`, decoded; nothing when the file or picture is missing.
std::optional<Picture> readPictureAtSlot(const std::string& path, std::uint32_t slot);

// The same through the program's picture cache, so a picture shown again is
// not decoded again; valid until the cache's next fetch or release.
const Picture* cachedPictureAtSlot(PictureCache& cache, const std::string& path, std::uint32_t slot);

// Copies `picture` to `dest` on `dc` (stretched when the sizes differ):
// 1-bits in `background`, 0-bits in `foreground`.
void drawPicture(HDC dc, const Picture& picture, const views::Rect& dest, COLORREF background,
                 COLORREF foreground);

// Draws `picture` fitted into `frame` (shrunk to fit, centred) with `caption`
// centred on the caption line below it, in the window colours.
void drawPictureInFrame(HDC dc, const Picture& picture, const RECT& frame, const std::string& caption);

}  // namespace kalvor::shell
