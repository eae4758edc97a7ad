#include "codecs/jpeg_decoder.h"

#include <algorithm>
#include <memory>

#include "codecs/jpeg_cmyk.h"
#include "codecs/jpeg_decompressor.h"
#include "runtime/exceptions.h"

namespace kv {

namespace {

// Colours wanted when the library quantises (the rest of an 8-bit palette stays free).
constexpr int kQuantisedColours = 236;
// Upper bound for the library's row group (its output buffer height is at most 4).
constexpr int kMaxRowsPerCall = 16;
// The library's own working memory (whole-image coefficient buffers of progressive files) is
// bounded too; past this it stops with its out-of-memory error instead of exhausting the heap.
constexpr long kMaxLibraryMemory = 1536L * 1024 * 1024;

// The parameters this program asks of the library, set between reading the header and starting.
struct OutputPlan {
    bool quantise = false;
    bool cmyk = false;  // four-component output, converted here row by row
    int bitCount = 24;
};

OutputPlan SetDecompressionParameters(jpeg_decompress_struct& ci, const TJPEGSettings& settings) {
    OutputPlan plan;
    ci.scale_num = 1;
    ci.scale_denom = 1u << static_cast<unsigned>(settings.scale);
    ci.do_block_smoothing = settings.smoothing ? TRUE : FALSE;
    if (settings.grayscale) {
        ci.out_color_space = JCS_GRAYSCALE;
    } else if (ci.out_color_space == JCS_CMYK) {
        plan.cmyk = true;  // the library's only output for CMYK and YCCK files
    } else if (ci.out_color_space != JCS_GRAYSCALE) {
        // Rows are stored blue, green, red; anything the library cannot convert stops it.
        ci.out_color_space = JCS_EXT_BGR;
    }
    plan.quantise = ci.out_color_space == JCS_GRAYSCALE ||
                    (settings.pixelFormat == TJPEGPixelFormat::jf8Bit && !plan.cmyk);
    if (plan.quantise) {
        ci.quantize_colors = TRUE;
        ci.desired_number_of_colors = kQuantisedColours;
    }
    if (settings.performance == TJPEGPerformance::jpBestSpeed) {
        ci.dct_method = JDCT_IFAST;
        ci.two_pass_quantize = FALSE;
        ci.dither_mode = JDITHER_ORDERED;
    } else {
        ci.dct_method = JDCT_FLOAT;
    }
    plan.bitCount = plan.quantise ? 8 : 24;
    return plan;
}

std::vector<RgbQuad> PaletteFromColourMap(const jpeg_decompress_struct& ci) {
    std::vector<RgbQuad> palette;
    if (ci.colormap == nullptr) return palette;
    int count = std::clamp(ci.actual_number_of_colors, 0, 256);
    palette.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        RgbQuad& entry = palette[static_cast<size_t>(i)];
        if (ci.out_color_components == 1) {
            entry.red = entry.green = entry.blue = ci.colormap[0][i];
        } else {
            // The map is in output order: blue, green, red.
            entry.blue = ci.colormap[0][i];
            entry.green = ci.colormap[1][i];
            entry.red = ci.colormap[2][i];
        }
    }
    return palette;
}

void Report(const JpegProgressHandler* progress, JpegProgressStage stage, int percent) {
    if (progress != nullptr && *progress) (*progress)(stage, percent);
}

void Decode(JpegDecompressor& decompressor, const TJPEGSettings& settings,
            const JpegStorageProvider& provide) {
    jpeg_decompress_struct& ci = decompressor.Info();
    OutputPlan plan;
    decompressor.Guarded([&] {
        plan = SetDecompressionParameters(ci, settings);
        jpeg_calc_output_dimensions(&ci);
        ci.mem->max_memory_to_use = kMaxLibraryMemory;
    });
    const int width = static_cast<int>(ci.output_width);
    const int height = static_cast<int>(ci.output_height);
    if (DibImageSize(width, height, plan.bitCount) > kMaxStorageBytes) {
        throw EOutOfResources(kOutOfResourcesText);
    }

    decompressor.Guarded([&] { jpeg_start_decompress(&ci); });
    // Every scan is read now (the whole input is consumed before the single output pass starts,
    // and a two-pass quantiser's counting pass is over too): what the output pass has read can go.
    if (!ci.buffered_image) decompressor.Coefficients().ReleaseBehindReads();

    Dib& dib = provide(DescriptionFor(width, height, plan.bitCount),
                       plan.quantise ? PaletteFromColourMap(ci) : std::vector<RgbQuad>{});
    if (dib.Width() != width || dib.Height() != height || dib.BitCount() != plan.bitCount) {
        throw EInvalidOperation("JPEG output storage does not match the picture");
    }
    std::vector<uint8_t> cmykRow(plan.cmyk ? static_cast<size_t>(width) * 4 : 0);
    const bool inverted = ci.saw_Adobe_marker != 0;

    decompressor.Guarded([&] {
        const int group = std::clamp(ci.rec_outbuf_height, 1, kMaxRowsPerCall);
        JSAMPROW rows[kMaxRowsPerCall];
        while (ci.output_scanline < ci.output_height) {
            const int y = static_cast<int>(ci.output_scanline);
            int count = 1;
            if (plan.cmyk) {
                rows[0] = cmykRow.data();
            } else {
                // Row pointers straight into the storage; any order of addresses will do.
                count = std::min(group, height - y);
                for (int i = 0; i < count; ++i) rows[i] = dib.Row(y + i);
            }
            JDIMENSION got = jpeg_read_scanlines(&ci, rows, static_cast<JDIMENSION>(count));
            if (got == 0) break;  // only a suspending source returns nothing; ours never does
            if (plan.cmyk) ConvertCmykRowToBgr(cmykRow.data(), dib.Row(y), static_cast<size_t>(width), inverted);
        }
        jpeg_finish_decompress(&ci);
    });
}

}  // namespace

JpegHeaderInfo ReadJpegHeader(const uint8_t* data, size_t size) {
    auto decompressor = std::make_unique<JpegDecompressor>();
    decompressor->Open(data, size);
    jpeg_decompress_struct& ci = decompressor->Info();
    JpegHeaderInfo info;
    info.width = static_cast<int>(ci.image_width);
    info.height = static_cast<int>(ci.image_height);
    info.grayscale = ci.jpeg_color_space == JCS_GRAYSCALE;
    decompressor->Guarded([&] { info.multiScan = jpeg_has_multiple_scans(&ci) != 0; });
    return info;
}

int JpegScaledDimension(int fullSize, TJPEGScale scale) {
    const int denominator = 1 << static_cast<int>(scale);
    return fullSize <= 0 ? 0 : (fullSize + denominator - 1) / denominator;
}

void DecodeJpeg(const uint8_t* data, size_t size, const TJPEGSettings& settings,
                const JpegStorageProvider& provide, const JpegProgressHandler* progress) {
    Report(progress, JpegProgressStage::Starting, 0);
    try {
        auto decompressor = std::make_unique<JpegDecompressor>();
        decompressor->Open(data, size, progress);
        Decode(*decompressor, settings, provide);
    } catch (...) {
        try {
            Report(progress, JpegProgressStage::Ending, 0);
        } catch (...) {
            // The first failure is the one worth reporting.
        }
        throw;
    }
    Report(progress, JpegProgressStage::Ending, 100);
}

}  // namespace kv
