// The generator, the clock text and the load button's choice of decoder.
#include <gtest/gtest.h>

#include "game/game_clock.h"
#include "game/load_format.h"
#include "game/random.h"

namespace kv {
namespace {

TEST(GameRandom, StartsFromSeedZeroAndTakesTheHighHalfOfTheProduct) {
    GameRandom random;
    EXPECT_EQ(random.Seed(), 0u);
    EXPECT_EQ(random.Next(500), 0u);  // seed 1: 500 / 2^32 rounds down to 0
    EXPECT_EQ(random.Seed(), 1u);
    EXPECT_EQ(random.Next(350), 10u);
    EXPECT_EQ(random.Seed(), 134775814u);
    EXPECT_EQ(random.Next(500), 430u);
    EXPECT_EQ(random.Next(350), 70u);
}

TEST(GameRandom, SeedWrapsModulo2To32AndStaysBelowTheRange) {
    GameRandom random;
    std::uint32_t expected = 0;
    for (int i = 0; i < 1000; ++i) {
        expected = expected * 0x08088405u + 1u;
        EXPECT_LT(random.Next(7), 7u);
        EXPECT_EQ(random.Seed(), expected);
    }
    EXPECT_EQ(random.Next(1), 0u);
    // Full range: the result is the seed itself.
    const std::uint32_t next = random.Seed() * 0x08088405u + 1u;
    EXPECT_EQ(random.Next(0xFFFFFFFFu), static_cast<std::uint32_t>(
                                            (std::uint64_t{next} * 0xFFFFFFFFu) >> 32));
}

TEST(ClockText, MinutesAndSecondsWithoutLeadingZerosOrHours) {
    EXPECT_EQ(ClockText(0), "0 : 0");
    EXPECT_EQ(ClockText(1), "0 : 1");
    EXPECT_EQ(ClockText(59), "0 : 59");
    EXPECT_EQ(ClockText(60), "1 : 0");
    EXPECT_EQ(ClockText(65), "1 : 5");
    EXPECT_EQ(ClockText(3600), "60 : 0");
    EXPECT_EQ(ClockText(6001), "100 : 1");
}

TEST(LoadFormat, ExactSpellingsOfTheLastExtensionOnly) {
    EXPECT_EQ(LoadFormatOf("/pics/sunset.JPG"), LoadFormat::Jpeg);
    EXPECT_EQ(LoadFormatOf("/pics/sunset.jpg"), LoadFormat::Jpeg);
    EXPECT_EQ(LoadFormatOf("/pics/a.BMP"), LoadFormat::Bmp);
    EXPECT_EQ(LoadFormatOf("/pics/a.bmp"), LoadFormat::Bmp);
    EXPECT_EQ(LoadFormatOf("/pics/a.GIF"), LoadFormat::Gif);
    EXPECT_EQ(LoadFormatOf("/pics/a.gif"), LoadFormat::Gif);
    EXPECT_EQ(LoadFormatOf("/pics/a.Jpg"), LoadFormat::None);
    EXPECT_EQ(LoadFormatOf("/pics/a.jpeg"), LoadFormat::None);
    EXPECT_EQ(LoadFormatOf("/pics/a.png"), LoadFormat::None);
    EXPECT_EQ(LoadFormatOf("/pics/a.gif.png"), LoadFormat::None);
    EXPECT_EQ(LoadFormatOf("/pics/a.png.gif"), LoadFormat::Gif);
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(LoadFormatOf("/pics.jpg/noext"), LoadFormat::None);
    EXPECT_EQ(FileExtension("/pics.jpg/noext"), "");
    EXPECT_EQ(FileExtension("/p/.jpg"), ".jpg");
    EXPECT_EQ(FileExtension("/p/name."), ".");
    EXPECT_EQ(FileExtension(""), "");
}

}  // namespace
}  // namespace kv
