// The BMP reader on the third-party BMP suite and real-world odd files.
//
// References: the independent Pillow decodes in reference-pillow/bmp (RGB PNGs) where Pillow
// agrees with the suite, otherwise the suite's own PNGs (g/pal4rle.bmp: Pillow's RLE4 output is
// wrong; g/rgb32bf.bmp: Pillow refuses it). The PNGs are read by a small reader in
// support/png_reader, so the tests need no picture library.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "codecs/bmp.h"
#include "codecs/bmp_errors.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "support/png_reader.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = KV_CORPUS_DIR;

BmpReadResult ReadFile(const fs::path& path) {
    TFileStream stream(path.string());
    return ReadBmpStream(stream);
}

// Suite file name ("g/pal8.bmp") -> first reference PNG the suite lists for it.
std::map<std::string, std::string> SuiteReferences() {
    std::map<std::string, std::string> refs;
    std::ifstream index(kCorpus / "bmp/INDEX.tsv");
    std::string line;
    std::getline(index, line);  // column titles
    while (std::getline(index, line)) {
        std::istringstream fields(line);
        std::string file, version, pngs;
        std::getline(fields, file, '\t');
        std::getline(fields, version, '\t');
        std::getline(fields, pngs, '\t');
        refs[file] = pngs.substr(0, pngs.find(' '));
    }
    return refs;
}

struct Difference {
    int pixels = 0;
    int largest = 0;
    std::string first;
};

// Compares colours (not alpha) channel by channel, allowing `tolerance`; pixels the reference
// marks fully transparent are skipped, since their colour is not defined there.
Difference Compare(const Dib& dib, const test::RgbaImage& ref, int tolerance) {
    Difference d;
    for (int y = 0; y < ref.height; ++y) {
        for (int x = 0; x < ref.width; ++x) {
            const uint8_t* want = ref.At(x, y);
            if (want[3] == 0) continue;
            const RgbQuad got = dib.PixelAt(x, y);
            const int diff = std::max({std::abs(got.red - want[0]), std::abs(got.green - want[1]),
                                       std::abs(got.blue - want[2])});
            if (diff > tolerance) {
                if (d.pixels == 0) {
                    std::ostringstream s;
                    s << "(" << x << "," << y << ") got " << int(got.red) << "," << int(got.green) << ","
                      << int(got.blue) << " want " << int(want[0]) << "," << int(want[1]) << "," << int(want[2]);
                    d.first = s.str();
                }
                ++d.pixels;
            }
            d.largest = std::max(d.largest, diff);
        }
    }
    return d;
}

void ExpectMatches(const std::string& file, const fs::path& reference, int tolerance) {
    SCOPED_TRACE(file + " vs " + reference.string());
    const BmpReadResult r = ReadFile(kCorpus / "bmp" / file);
    ASSERT_NE(r.dib, nullptr);
    const test::RgbaImage ref = test::ReadPng(reference.string());
    ASSERT_EQ(r.dib->Width(), ref.width);
    ASSERT_EQ(r.dib->Height(), ref.height);
    const Difference d = Compare(*r.dib, ref, tolerance);
    EXPECT_EQ(d.pixels, 0) << "first difference " << d.first << ", largest " << d.largest;
}

// Channels narrower than 8 bits are scaled to 8 bits; decoders round that scaling differently,
// by at most one level.
int ToleranceFor(const std::string& file) {
    const BmpReadResult r = ReadFile(kCorpus / "bmp" / file);
    return r.header.bitCount == 16 || r.header.compression == kBiBitFields ? 1 : 0;
}

TEST(BmpSuite, EveryGoodFileDecodesToTheReferencePixels) {
    const auto suiteRefs = SuiteReferences();
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(kCorpus / "bmp/g")) {
        const std::string name = "g/" + entry.path().filename().string();
        const fs::path pillow = kCorpus / "reference-pillow/bmp" / (name.substr(0, name.size() - 4) + ".pillow.png");
        const fs::path reference = fs::exists(pillow) ? pillow : kCorpus / "bmp/reference" / suiteRefs.at(name);
        ExpectMatches(name, reference, ToleranceFor(name));
        ++compared;
    }
    EXPECT_EQ(compared, 27);
}

TEST(BmpSuite, QuestionableFilesThatDecodeLikeTheReferences) {
    struct Case {
        const char* file;
        const char* reference;  // under the corpus
    };
    const Case cases[] = {
        {"q/pal1p1.bmp", "reference-pillow/bmp/q/pal1p1.pillow.png"},
        {"q/pal8os2-hs.bmp", "reference-pillow/bmp/q/pal8os2-hs.pillow.png"},
        {"q/pal8os2-sz.bmp", "reference-pillow/bmp/q/pal8os2-sz.pillow.png"},
        {"q/pal8os2v2.bmp", "reference-pillow/bmp/q/pal8os2v2.pillow.png"},
        {"q/pal8os2v2-sz.bmp", "reference-pillow/bmp/q/pal8os2v2-sz.pillow.png"},
        {"q/pal8os2v2-40sz.bmp", "reference-pillow/bmp/q/pal8os2v2-40sz.pillow.png"},
        {"q/rgb16faketrns.bmp", "reference-pillow/bmp/q/rgb16faketrns.pillow.png"},
        {"q/rgb24lprof.bmp", "reference-pillow/bmp/q/rgb24lprof.pillow.png"},
        {"q/rgb24prof.bmp", "reference-pillow/bmp/q/rgb24prof.pillow.png"},
        {"q/rgb32-xbgr.bmp", "reference-pillow/bmp/q/rgb32-xbgr.pillow.png"},
        {"q/rgb32fakealpha.bmp", "reference-pillow/bmp/q/rgb32fakealpha.pillow.png"},
        // Skipped pixels of run-length pictures are black: the suite's "-b" renderings.
        {"q/pal4rletrns.bmp", "bmp/reference/pal4rletrns-b.png"},
        {"q/pal8rletrns.bmp", "bmp/reference/pal8rletrns-b.png"},
        {"q/pal4rlecut.bmp", "bmp/reference/pal4rlecut-b.png"},
        {"q/pal8rlecut.bmp", "bmp/reference/pal8rlecut-b.png"},
        // Unusual bit-field layouts.
        {"q/rgb16-231.bmp", "bmp/reference/rgb16-231.png"},
        {"q/rgb16-3103.bmp", "bmp/reference/rgb16-3103.png"},
        {"q/rgb32-7187.bmp", "bmp/reference/rgb32-7187.png"},
        {"q/rgb32h52.bmp", "bmp/reference/rgb24.png"},
        {"q/rgb32-111110.bmp", "bmp/reference/rgb24.png"},
        {"b/rgb16-880.bmp", "bmp/reference/rgb16-880.png"},
        // Alpha is kept in the storage as the file has it and not blended: colours are compared
        // where the reference is not fully transparent.
        {"q/rgba16-4444.bmp", "bmp/reference/rgba16-4444.png"},
        {"q/rgba16-5551.bmp", "bmp/reference/rgba16-5551.png"},
        {"q/rgba16-1924.bmp", "bmp/reference/rgba16-1924.png"},
        {"q/rgba32-1.bmp", "bmp/reference/rgba32.png"},
        {"q/rgba32-2.bmp", "bmp/reference/rgba32.png"},
        {"q/rgba32h56.bmp", "bmp/reference/rgba32.png"},
        {"q/rgba32-1010102.bmp", "bmp/reference/rgba32-1010102.png"},
        {"q/rgba32-81284.bmp", "bmp/reference/rgba32-81284.png"},
        {"q/rgba32-61754.bmp", "bmp/reference/rgba32-61754.png"},
    };
    for (const Case& c : cases) ExpectMatches(c.file, kCorpus / c.reference, ToleranceFor(c.file));
}

// Deliberate differences from other decoders: this reader ignores the pixel-data offset of the
// file header and takes the pixels right after the colour table, and a core header's colour
// table always has 2^bits entries. Files that rely on the offset load, shifted.
TEST(BmpSuite, PixelOffsetFieldIsIgnored) {
    const BmpReadResult gap = ReadFile(kCorpus / "bmp/q/pal8offs.bmp");
    const BmpReadResult plain = ReadFile(kCorpus / "bmp/g/pal8.bmp");
    ASSERT_NE(gap.dib, nullptr);
    // The bytes of the gap come first, so the stored rows start later in the file.
    EXPECT_NE(std::vector<uint8_t>(gap.dib->Bits(), gap.dib->Bits() + gap.dib->ByteSize()),
              std::vector<uint8_t>(plain.dib->Bits(), plain.dib->Bits() + plain.dib->ByteSize()));
    const BmpReadResult shortTable = ReadFile(kCorpus / "bmp/q/pal8os2sp.bmp");
    EXPECT_EQ(shortTable.colorTable.size(), 256u);
}

// Every questionable, bad and odd real-world file either loads or is refused with one of the
// reader's failures; the refusals are exactly these.
TEST(BmpSuite, OtherFilesLoadOrAreRefusedCleanly) {
    const std::map<std::string, std::string> refused = {
        {"bmp/q/pal1huffmsb.bmp", "EInvalidGraphic"},      // compression 3 at 1 bit (Huffman)
        {"bmp/q/pal2.bmp", "EInvalidGraphic"},             // 2 bits per pixel
        {"bmp/q/pal2color.bmp", "EInvalidGraphic"},
        {"bmp/q/pal8os2v2-16.bmp", "EInvalidGraphic"},     // 16-byte header
        {"bmp/q/pal8oversizepal.bmp", "EInvalidGraphic"},  // 300-entry colour table
        {"bmp/q/rgb24largepal.bmp", "EInvalidGraphic"},
        {"bmp/q/rgb24jpeg.bmp", "EInvalidGraphic"},        // compression 4 / 5
        {"bmp/q/rgb24png.bmp", "EInvalidGraphic"},
        {"bmp/q/rgb24rle24.bmp", "EInvalidGraphic"},
        {"bmp/q/rgba32abf.bmp", "EInvalidGraphic"},        // compression 6
        {"bmp/q/rgba64.bmp", "EInvalidGraphic"},           // 64 bits per pixel
        {"bmp/b/badbitcount.bmp", "EInvalidGraphic"},
        {"bmp/b/badpalettesize.bmp", "EInvalidGraphic"},
        {"bmp/b/badplanes.bmp", "EInvalidGraphic"},
        {"bmp/b/badwidth.bmp", "EInvalidGraphic"},
        {"bmp/b/rletopdown.bmp", "EInvalidGraphic"},
        {"bmp/b/reallybig.bmp", "EOutOfResources"},
        {"bmp/x/ba-bm.bmp", "EInvalidGraphic"},            // "BA" bitmap-array wrapper
        {"malformed/bmp/MEMSIZE.BMP", "EInvalidGraphic"},
        {"malformed/bmp/SPADE.BMP", "EInvalidGraphic"},
    };
    int loaded = 0;
    int files = 0;
    for (const char* folder : {"bmp/q", "bmp/b", "bmp/x", "malformed/bmp"}) {
        for (const auto& entry : fs::directory_iterator(kCorpus / folder)) {
            const std::string name = std::string(folder) + "/" + entry.path().filename().string();
            ++files;
            std::string outcome = "loaded";
            try {
                const BmpReadResult r = ReadFile(entry.path());
                ASSERT_NE(r.dib, nullptr) << name;
                // Touch every pixel: nothing may be read outside the storage.
                uint32_t sum = 0;
                for (int y = 0; y < r.dib->Height(); ++y)
                    for (int x = 0; x < r.dib->Width(); ++x) sum += r.dib->PixelAt(x, y).green;
                (void)sum;
                ++loaded;
            } catch (const Exception& e) {
                if (!BmpReaderFailures::Holds(e)) throw;  // outside the reader's set: a finding
                outcome = e.ClassName();
                const std::string expectedText =
                    outcome == "EOutOfResources" ? "Out of system resources" : "Bitmap image is not valid";
                EXPECT_EQ(e.Message(), expectedText) << name;
            }
            const auto it = refused.find(name);
            EXPECT_EQ(outcome, it == refused.end() ? "loaded" : it->second) << name;
        }
    }
    EXPECT_EQ(files, 43 + 20 + 1 + 14);
    EXPECT_EQ(loaded, files - static_cast<int>(refused.size()));
}

}  // namespace
}  // namespace kv
