// Story text laid out and drawn into a 640 x 480 screen plane, one character
// at a time as the timed display draws it; glyphs are rendered once per face
// and character and kept.

#include <benchmark/benchmark.h>

#include <string>

#include "draw/FastPlane.h"
#include "platform/Fonts.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/Text.h"

namespace {

void PinFonts()
{
    static const bool pinned = [] {
        platform::InstallFonts(std::make_unique<platform::PinnedFonts>());
        return true;
    }();
    (void)pinned;
}

// 300 characters of kana, kanji, punctuation and digits: a page of the
// default 15 lines of 24, with room for the hanging punctuation.
std::string Page()
{
    const std::string sentence = "今日は、1日中雨だった。明日の天気はどうなるだろうか？";
    std::string page;
    while (page.size() < 300 * 2) page += sentence;
    return page.substr(0, 300 * 2);
}

void CharactersPerSecond(benchmark::State& state)
{
    PinFonts();
    kivotasuGameKit::Draw::CFastPlane screen;
    screen.InnerCreateMemorySurface(640, 480, kivotasuGameKit::SurfaceType::ARGB8888, true);
    TAG::CText text;
    text.SetAntialias(std::uint8_t(state.range(0)));
    if (state.range(1)) {
        CTagAttributes shadow;
        shadow.SetValue(TagAttributeKey::Shadow, kivotasuGameKit::CTextString("2"));
        text.ParseDefault(shadow);
    }
    const kivotasuGameKit::CTextString page(Page());
    std::int64_t characters = 0;
    for (auto _ : state) {
        text.Clear();
        text.SetMessage(page);
        while (text.Draw(screen) != 0) ++characters;
    }
    state.SetItemsProcessed(characters);
    state.counters["chars/s"] = benchmark::Counter(double(characters), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(CharactersPerSecond)->ArgNames({"antialias", "shadow"})->Args({0, 0})->Args({1, 0})->Args({1, 1});
