#include "ui/font_warm_up.h"

#include <exception>

#include "graphics/font_engine.h"
#include "graphics/tools.h"

namespace kv {
namespace {

// The faces and styles the main window's and the about box's labels ask for. A face missing here
// is only matched later, on the window thread; one too many costs a match.
struct FaceStyle {
    const char* name;
    bool bold;
    bool italic;
};
constexpr FaceStyle kLayoutFaces[] = {
    {kDefaultFontName, false, false}, {kDefaultFontName, true, false}, {kDefaultFontName, false, true},
    {"Arial", false, false},          {"Arial", true, false},          {"Arial Black", true, false},
};

void WarmUp() {
    try {
        FontEngine& engine = FontEngine::Instance();
        for (const FaceStyle& face : kLayoutFaces) {
            FontRequest request;
            request.name = face.name;
            request.bold = face.bold;
            request.italic = face.italic;
            engine.ResolvedFamily(request);
        }
    } catch (const std::exception&) {
        // Only a head start: the window thread meets the same failure and reports it.
    }
}

}  // namespace

FontWarmUp::FontWarmUp() : worker_(WarmUp) {}

FontWarmUp::~FontWarmUp() { Join(); }

void FontWarmUp::Join() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace kv
