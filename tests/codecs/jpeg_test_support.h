#pragma once
// Helpers for the JPEG tests: corpus files, the library's own command-line decoder as the
// reference, and an encoder for pictures the corpus lacks (restart markers, 4:4:4, CMYK).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

namespace kv::test {

inline std::string JpegCorpusPath(const std::string& relative) {
    return std::string(KV_CORPUS_DIR) + "/" + relative;
}

inline std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A temporary file that removes itself.
class TempFile {
public:
    explicit TempFile(const std::string& suffix) {
        std::string pattern = "/tmp/kv_jpeg_XXXXXX" + suffix;
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
        if (fd >= 0) close(fd);
        path_ = name.data();
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// A decoded PPM (3 channels, red-green-blue) or PGM (1 channel), top row first.
struct PnmImage {
    int width = 0, height = 0, channels = 0;
    std::vector<uint8_t> pixels;
};

inline bool ParsePnm(const std::vector<uint8_t>& bytes, PnmImage& image) {
    size_t pos = 0;
    auto token = [&]() {
        std::string t;
        while (pos < bytes.size()) {
            char c = static_cast<char>(bytes[pos]);
            if (c == '#') {
                while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
            } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
                if (!t.empty()) break;
                ++pos;
            } else {
                t += c;
                ++pos;
            }
        }
        return t;
    };
    std::string magic = token();
    if (magic != "P5" && magic != "P6") return false;
    image.channels = magic == "P6" ? 3 : 1;
    image.width = std::atoi(token().c_str());
    image.height = std::atoi(token().c_str());
    if (std::atoi(token().c_str()) != 255) return false;
    ++pos;  // the single blank after the maximum value
    size_t count = static_cast<size_t>(image.width) * image.height * image.channels;
    if (bytes.size() < pos + count) return false;
    image.pixels.assign(bytes.begin() + static_cast<long>(pos), bytes.begin() + static_cast<long>(pos + count));
    return true;
}

inline bool DjpegAvailable() {
    return std::system("command -v djpeg > /dev/null 2>&1") == 0;
}

// Runs djpeg with the given options on a JPEG file; false when it failed or wrote no picture.
inline bool RunDjpeg(const std::string& options, const std::string& jpegPath, PnmImage& out) {
    TempFile output(".pnm");
    std::string command = "djpeg " + options + " -pnm -outfile '" + output.Path() + "' '" + jpegPath +
                          "' > /dev/null 2>&1";
    int rc = std::system(command.c_str());
    // Exit code 2 means warnings only (premature end and the like): the picture is written.
    if (rc == -1 || !WIFEXITED(rc) || (WEXITSTATUS(rc) != 0 && WEXITSTATUS(rc) != 2)) return false;
    return ParsePnm(ReadWholeFile(output.Path()), out);
}

struct EncodeOptions {
    int quality = 90;
    bool progressive = false;
    unsigned restartInterval = 0;    // in MCUs; 0 = none
    int lumaSampling = 2;            // 2 = 4:2:0, 1 = 4:4:4 (colour pictures only)
    J_COLOR_SPACE fileSpace = JCS_YCbCr;  // JCS_YCbCr, JCS_GRAYSCALE, JCS_CMYK or JCS_YCCK
    bool adobeMarker = true;         // for CMYK files: write the Adobe marker
};

// Encodes top-down pixels: RGB triples, grey bytes or CMYK quadruples (inputSpace).
inline std::vector<uint8_t> EncodeJpeg(int width, int height, J_COLOR_SPACE inputSpace, int components,
                                       const std::vector<uint8_t>& pixels, const EncodeOptions& options) {
    jpeg_compress_struct ci{};
    jpeg_error_mgr err{};
    ci.err = jpeg_std_error(&err);
    jpeg_create_compress(&ci);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&ci, &buffer, &size);
    ci.image_width = static_cast<JDIMENSION>(width);
    ci.image_height = static_cast<JDIMENSION>(height);
    ci.input_components = components;
    ci.in_color_space = inputSpace;
    jpeg_set_defaults(&ci);
    jpeg_set_colorspace(&ci, options.fileSpace);
    jpeg_set_quality(&ci, options.quality, TRUE);
    if (options.fileSpace == JCS_YCbCr) {
        ci.comp_info[0].h_samp_factor = options.lumaSampling;
        ci.comp_info[0].v_samp_factor = options.lumaSampling;
    }
    if (options.fileSpace == JCS_CMYK) ci.write_Adobe_marker = options.adobeMarker ? TRUE : FALSE;
    if (options.progressive) jpeg_simple_progression(&ci);
    ci.restart_interval = options.restartInterval;
    jpeg_start_compress(&ci, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (ci.next_scanline < ci.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + ci.next_scanline * stride);
        jpeg_write_scanlines(&ci, &row, 1);
    }
    jpeg_finish_compress(&ci);
    jpeg_destroy_compress(&ci);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// A smooth colourful test picture (RGB, top-down).
inline std::vector<uint8_t> GradientRgb(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = static_cast<uint8_t>(x * 255 / (width > 1 ? width - 1 : 1));
            p[1] = static_cast<uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
            p[2] = static_cast<uint8_t>((x * 7 + y * 3) & 0xFF);
        }
    }
    return pixels;
}

}  // namespace kv::test
