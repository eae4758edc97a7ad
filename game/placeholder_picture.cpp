#include "game/placeholder_picture.h"

#include <memory>

#include "graphics/bitmap.h"
#include "graphics/canvas.h"

namespace kv {
namespace {

constexpr int kPlaceholderWidth = 225;
constexpr int kPlaceholderHeight = 160;
constexpr int kPlaceholderTextX = 10;
constexpr int kPlaceholderTextY = 70;

std::unique_ptr<TBitmap> DrawPlaceholder() {
    TBitmap drawn;
    drawn.SetWidth(kPlaceholderWidth);
    drawn.SetHeight(kPlaceholderHeight);
    TCanvas& canvas = drawn.Canvas();
    // The text is written on an opaque red cell.
    canvas.Brush().SetColor(clRed);
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, kPlaceholderHeight - 1);
    canvas.LineTo(kPlaceholderWidth - 1, kPlaceholderHeight - 1);
    canvas.LineTo(kPlaceholderWidth - 1, 0);
    canvas.LineTo(0, 0);
    canvas.Font().SetSize(kPlaceholderFontSize);
    canvas.TextOut(kPlaceholderTextX, kPlaceholderTextY, kPlaceholderText);
    // The kept bitmap shares the drawn pixels but has no canvas: none of it is left in the list of
    // drawing contexts that the window thread releases after each message.
    auto kept = std::make_unique<TBitmap>();
    kept->Assign(&drawn);
    return kept;
}

}  // namespace

const TBitmap& PlaceholderPicture() {
    static const std::unique_ptr<TBitmap> picture = DrawPlaceholder();
    return *picture;
}

}  // namespace kv
