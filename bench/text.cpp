// Measuring and rendering a typical 40-character label with warm caches, at 8 and 20 points.
#include <benchmark/benchmark.h>

#include "graphics/font_engine.h"

namespace {

// 40 characters, Russian and Latin, as the game's labels are.
const char* const kLabel = "Выбери картинку: sunset.jpg 688 x 448 ok";

kv::FontRequest Font(int height) {
    kv::FontRequest font;
    font.name = "MS Sans Serif";
    font.height = height;
    return font;
}

void BM_MeasureLabel(benchmark::State& state) {
    const kv::FontRequest font = Font(static_cast<int>(state.range(0)));
    kv::FontEngine& engine = kv::FontEngine::Instance();
    for (auto _ : state) benchmark::DoNotOptimize(engine.Measure(font, kLabel));
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_MeasureLabel)->Arg(-11)->Arg(-27);

void BM_RenderLabel(benchmark::State& state) {
    const kv::FontRequest font = Font(static_cast<int>(state.range(0)));
    kv::FontEngine& engine = kv::FontEngine::Instance();
    for (auto _ : state) benchmark::DoNotOptimize(engine.Render(font, kLabel));
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_RenderLabel)->Arg(-11)->Arg(-27);

// Cycling through more sizes than the face cache keeps: mostly cold faces and glyphs.
void BM_RenderLabelColdSizes(benchmark::State& state) {
    kv::FontEngine& engine = kv::FontEngine::Instance();
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.Render(Font(-10 - i), kLabel));
        i = (i + 1) % 60;
    }
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_RenderLabelColdSizes);

}  // namespace
