// Wraps a picture of a picture file into a GIF file, so that an independent
// decoder (ImageMagick in the tests) can check our LZW code.
#pragma once

#include <algorithm>

#include "base/bytes.h"
#include "refdb/picture_file.h"

namespace kalvor::mkdb {

// A two-colour GIF (index 0 black ink, 1 white background) whose image data
// is the picture's own LZW stream, copied unchanged.
// `fileBytes` are the bytes of the whole picture file. The stream is copied up
// to its closing empty sub-block (or the end of the file).
Bytes wrapPictureAsGif(const Bytes& fileBytes, const PictureHeader& header);

}  // namespace kalvor::mkdb
