#pragma once
// Decoding the file the load button names into the game's source picture.
#include <memory>
#include <string>

namespace kv {

class TBitmap;

// Decodes `path` with the decoder its extension names (LoadFormatOf: exact spellings only) into
// `sourcePicture`; any other extension decodes nothing and leaves it as it was.
//   JPEG, GIF: the file is read into a picture of that class first; only then a new bitmap
//              becomes the source picture and takes the decoded picture over. A file that fails
//              to read keeps the old source picture; a failure while taking it over leaves the
//              new, empty bitmap.
//   BMP:       a new bitmap becomes the source picture at once and reads the file.
// GIF decoding uses the picture class registered for "gif"; while none is registered a GIF path
// decodes nothing. Failures propagate.
void DecodeSourcePicture(std::shared_ptr<TBitmap>& sourcePicture, const std::string& path);

}  // namespace kv
