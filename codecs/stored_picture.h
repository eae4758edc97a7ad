#pragma once
// Pictures stored in a window layout: the raw bytes of a picture control's "Data" property.
//
//   offset 0      1 byte   length L of the class name
//   offset 1      L bytes  class name ("TBitmap", "TGIFImage", ...)
//   offset 1 + L  rest     the class's own data: for TBitmap and TJPEGImage a 4-byte
//                          little-endian byte count and that many bytes of file; for every other
//                          class the rest is its file format.
#include <cstdint>
#include <vector>

namespace kv {

class TPicture;
class TStream;

// Reads the property from the stream's position into the holder. The class is looked up in the
// format registry by its exact name; an unknown name leaves the holder empty (the data is
// ignored). A failure while the picture reads its data releases the new picture and travels on
// with the holder unchanged. Otherwise the holder's old picture is released and its change event
// fires. Raises EReadError "Stream read error" when the class name or a byte count is cut short.
void ReadStoredPicture(TPicture& picture, TStream& data);
void ReadStoredPicture(TPicture& picture, const std::vector<uint8_t>& data);

}  // namespace kv
