// The Info dialog "InfoDialog": program name, version, where to obtain it,
// the sources of the mineral data with their licences, and two pictures.
#pragma once

#include "resources/resource_ids.h"
#include "shell/app_context.h"

namespace kalvor::shell {

// Frame controls of "InfoDialog" that the two pictures of "logos.pf" fill.
inline constexpr int kInfoPictureFrame = ID_INFO_PICTURE;
inline constexpr int kInfoCaptionedPictureFrame = ID_INFO_CAPTIONED_PICTURE;
// String id of the caption under the picture in frame 901 ("Pyromorphit").
inline constexpr int kInfoPictureCaption = 10013;

// Runs the modal dialog centred over the main window's client area; any
// command ends it. Returns 1.
int runInfoDialog(AppContext& app);

}  // namespace kalvor::shell
