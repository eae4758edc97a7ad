// picture-load FILE: loads FILE into a bitmap the way picture-dump does (a picture holder that
// chooses the reader by extension, then the bitmap assignment) and nothing else, so a whole-process
// comparison shows what picture-dump's output costs on top of the load. Prints the bitmap's size;
// exits with 1 when the file cannot be read.
#include <cstdio>
#include <exception>

#include "codecs/picture.h"
#include "codecs/standard_formats.h"
#include "graphics/bitmap.h"
#include "graphics/dib.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: picture-load FILE\n");
        return 2;
    }
    try {
        kv::RegisterStandardFormats();
        kv::TPicture picture;
        picture.LoadFromFile(argv[1]);
        kv::TBitmap bitmap;
        bitmap.Assign(picture.Graphic());
        const kv::Dib* dib = bitmap.GetDib();
        std::printf("%d %d\n", dib ? dib->Width() : 0, dib ? dib->Height() : 0);
        return 0;
    } catch (const std::exception&) {
        return 1;
    }
}
