// GIF reading from memory. BM_GifVsPeers: the three files of bench/gif_inputs.h through our
// reader and through the peer libraries in turn in every iteration, so the ratios come from one
// run on the same bytes: giflib's DGifSlurp (every frame's colour indices, which is what our
// reader keeps) and stb_image (RGBA of the first frame; for the animation every frame, composed).
// Times are the thread's processor time (ms per load).
// The others: a large generated GIF (4000 x 3000, 256 colours, photo-like bands with noise)
// read alone, interlaced, and read plus converted to a bitmap.
//
// `bench_gif --write-files DIR` writes the three files to DIR for whole-process timing.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <stb_image.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gif_inputs.h"
#include "thread_time.h"
#include "codecs/gif/gif_image.h"
#include "graphics/bitmap.h"
#include "runtime/stream.h"
#include "tests/codecs/gif/gif_builder.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

std::vector<uint8_t> MakeGif(bool interlaced) {
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[static_cast<size_t>(i)] = (static_cast<uint32_t>(i) << 16) | (static_cast<uint32_t>(255 - i) << 8) |
                                          static_cast<uint32_t>((i * 7) & 0xFF);
    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            const double v = 128 + 100 * std::sin(x / 300.0) * std::cos(y / 200.0);
            pixels[static_cast<size_t>(y) * kWidth + x] =
                static_cast<uint8_t>(static_cast<int>(v) + static_cast<int>((noise >> 16) & 7));
        }
    kv::test::GifWriter gif(kWidth, kHeight, palette);
    gif.Frame(0, 0, kWidth, kHeight, pixels, 8, {}, interlaced).Trailer();
    return gif.Bytes();
}

const std::vector<uint8_t>& BenchGif(bool interlaced) {
    static const std::vector<uint8_t> plain = MakeGif(false);
    static const std::vector<uint8_t> woven = MakeGif(true);
    return interlaced ? woven : plain;
}

void Read(benchmark::State& state, bool interlaced, bool convert) {
    const std::vector<uint8_t>& bytes = BenchGif(interlaced);
    for (auto _ : state) {
        kv::TMemoryStream stream(bytes.data(), bytes.size());
        kv::TGIFImage gif;
        gif.LoadFromStream(stream);
        if (convert) {
            kv::TBitmap bitmap;
            bitmap.Assign(&gif);
            benchmark::DoNotOptimize(bitmap.GetDib());
        }
        benchmark::DoNotOptimize(gif.Images()[0].Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

void BM_GifRead(benchmark::State& state) { Read(state, false, false); }
void BM_GifReadInterlaced(benchmark::State& state) { Read(state, true, false); }
void BM_GifReadAndConvert(benchmark::State& state) { Read(state, false, true); }

BENCHMARK(BM_GifRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifReadInterlaced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifReadAndConvert)->Unit(benchmark::kMillisecond);

struct MemoryInput {
    const std::vector<uint8_t>* bytes;
    size_t position;
};

int ReadFromMemory(GifFileType* file, GifByteType* out, int length) {
    auto* input = static_cast<MemoryInput*>(file->UserData);
    const size_t n = std::min(static_cast<size_t>(length), input->bytes->size() - input->position);
    std::memcpy(out, input->bytes->data() + input->position, n);
    input->position += n;
    return static_cast<int>(n);
}

// Every frame's indices, as giflib's high-level reader keeps them.
int GiflibSlurp(const std::vector<uint8_t>& bytes) {
    MemoryInput input{&bytes, 0};
    int error = 0;
    GifFileType* file = DGifOpen(&input, &ReadFromMemory, &error);
    if (!file) return -1;
    const int frames = DGifSlurp(file) == GIF_OK ? file->ImageCount : -1;
    if (frames > 0) benchmark::DoNotOptimize(file->SavedImages[frames - 1].RasterBits);
    DGifCloseFile(file, &error);
    return frames;
}

int StbLoad(const std::vector<uint8_t>& bytes, bool allFrames) {
    int width = 0, height = 0, frames = 1, channels = 0;
    int* delays = nullptr;
    stbi_uc* pixels = allFrames ? stbi_load_gif_from_memory(bytes.data(), static_cast<int>(bytes.size()), &delays,
                                                            &width, &height, &frames, &channels, 4)
                                : stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width,
                                                        &height, &channels, 4);
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
    stbi_image_free(delays);
    return pixels ? frames : -1;
}

int OurLoad(kv::TMemoryStream& stream) {
    stream.SetPosition(0);
    kv::TGIFImage gif;
    gif.LoadFromStream(stream);
    benchmark::DoNotOptimize(gif.Images()[gif.Images().Count() - 1].Pixels().data());
    return gif.Images().Count();
}

void BM_GifVsPeers(benchmark::State& state) {
    const kv::bench::GifInput& input = kv::bench::GifInputs()[static_cast<size_t>(state.range(0))];
    const bool animation = std::string(input.name).rfind("anim", 0) == 0;
    kv::TMemoryStream stream(input.bytes.data(), input.bytes.size());
    double ours = 0, giflib = 0, stb = 0;
    for (auto _ : state) {
        const double t0 = kv::bench::ThreadMilliseconds();
        const int ourFrames = OurLoad(stream);
        const double t1 = kv::bench::ThreadMilliseconds();
        const int giflibFrames = GiflibSlurp(input.bytes);
        const double t2 = kv::bench::ThreadMilliseconds();
        const int stbFrames = StbLoad(input.bytes, animation);
        const double t3 = kv::bench::ThreadMilliseconds();
        if (ourFrames != giflibFrames || (animation && stbFrames != ourFrames) || stbFrames < 1) {
            state.SkipWithError("the readers disagree on the frames");
            break;
        }
        ours += t1 - t0;
        giflib += t2 - t1;
        stb += t3 - t2;
    }
    const double n = static_cast<double>(state.iterations());
    state.SetLabel(input.name);
    state.counters["ours_ms"] = ours / n;
    state.counters["giflib_ms"] = giflib / n;
    state.counters["stb_ms"] = stb / n;
    state.counters["ours_per_giflib"] = ours / giflib;
    state.counters["ours_per_stb"] = ours / stb;
}
BENCHMARK(BM_GifVsPeers)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-files") == 0) {
        kv::bench::WriteGifInputs(argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
