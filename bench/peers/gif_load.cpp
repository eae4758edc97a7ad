// gif-load ours|giflib FILE: loads every frame of a GIF file and nothing else, through our reader
// (TGIFImage from a file stream) or through giflib (DGifSlurp), for whole-process timing of the
// two side by side. Exits with 1 when the file cannot be read.
#include <gif_lib.h>

#include <cstdio>
#include <cstring>
#include <exception>

#include "codecs/gif/gif_image.h"

namespace {

int LoadWithGiflib(const char* path) {
    int error = 0;
    GifFileType* file = DGifOpenFileName(path, &error);
    if (!file) return -1;
    const int frames = DGifSlurp(file) == GIF_OK ? file->ImageCount : -1;
    DGifCloseFile(file, &error);
    return frames;
}

int LoadWithOurs(const char* path) {
    try {
        kv::TGIFImage gif;
        gif.LoadFromFile(path);
        return gif.Images().Count();
    } catch (const std::exception&) {
        return -1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "ours") != 0 && std::strcmp(argv[1], "giflib") != 0)) {
        std::fprintf(stderr, "usage: gif-load ours|giflib FILE\n");
        return 2;
    }
    const int frames = std::strcmp(argv[1], "ours") == 0 ? LoadWithOurs(argv[2]) : LoadWithGiflib(argv[2]);
    if (frames < 0) return 1;
    std::printf("%d\n", frames);
    return 0;
}
