// The GIF block walker against valid files of many shapes and against broken and hostile ones.
#include "guide/GifBlocks.h"
#include "tests/guide/GifBuilder.h"
#include <gtest/gtest.h>

static bool Scan(const Bytes& b, gif::GifScan& s)
{
    return gif::ScanGif(reinterpret_cast<const uint8_t*>(b.data()), b.size(), s);
}

// Three frames: loop extension first, a comment inside the second frame, every disposal.
static Bytes ThreeFrames()
{
    return Header(8, 6) + LoopExtension() + Gce(0, 1) + Image(0, 0, 8, 6, 1) + Gce(12, 2, true) +
           Comment("c") + Image(2, 1, 4, 3, 2, true) + Gce(4, 3) + Image(4, 3, 4, 3, 3, false, true) + ";";
}

TEST(GifBlocks, ValidShapes)
{
    struct Case { const char* name; Bytes data; size_t frames; size_t found = 0; };  // found: with dropped ones
    const Case cases[] = {
        {"one image", Header(4, 4) + Image(0, 0, 4, 4, 1) + ";", 1},
        {"GIF87a", Header(4, 4, true, "GIF87a") + Image(0, 0, 4, 4, 2) + ";", 1},
        {"local table only, interlaced", Header(5, 3, false) + Image(0, 0, 5, 3, 3, true, true) + ";", 1},
        {"three frames", ThreeFrames(), 3},
        {"missing trailer", Header(4, 4) + Gce(5, 0) + Image(0, 0, 4, 4, 1) + Gce(5, 0) + Image(0, 0, 4, 4, 2), 2},
        {"comment and plain text", Header(4, 4) + Comment("x") + Gce(9, 0) + PlainText() + Image(0, 0, 4, 4, 1) + ";", 2},
        {"unknown block ends the count", Header(4, 4) + Image(0, 0, 4, 4, 1) + "\x21\x77" + Image(0, 0, 4, 4, 1), 1},
        {"frame at the screen's edge", Header(4, 4) + Image(3, 3, 1, 1, 1) + ";", 1},
        {"frame partly right of the screen", Header(4, 4) + Image(2, 0, 4, 4, 1) + ";", 1},
        {"frame below the screen", Header(4, 4) + Image(0, 0, 4, 4, 1) + Image(0, 65535, 1, 1, 1) + ";", 2},
        {"frame taller than any screen dropped", Header(4, 4) + Image(0, 0, 4, 4, 1) + Image(0, 0, 1, 5000, 1) + ";", 1, 2},
        {"frame wider than any screen dropped", Header(4, 4) + Image(0, 0, 4097, 1, 1) + Gce(5, 2) + Image(0, 0, 4, 4, 1) + ";", 1, 2},
    };
    for (const Case& c : cases) {
        gif::GifScan s;
        ASSERT_TRUE(Scan(c.data, s)) << c.name;
        EXPECT_EQ(s.frames.size(), c.frames) << c.name;
        EXPECT_EQ(s.fileFrames, c.found ? c.found : c.frames) << c.name;
        for (const gif::GifFrameSpan& f : s.frames) EXPECT_LE(f.offset + f.length, c.data.size()) << c.name;
    }
}

TEST(GifBlocks, FrameValuesAndStandAloneFrames)
{
    Bytes data = ThreeFrames();
    gif::GifScan s;
    ASSERT_TRUE(Scan(data, s));
    EXPECT_EQ(s.screenWidth, 8);
    EXPECT_EQ(s.screenHeight, 6);
    EXPECT_EQ(s.globalTableSize, 12u);
    const unsigned delays[] = {0, 12, 4};
    const int disposals[] = {1, 2, 3};
    const int lefts[] = {0, 2, 4}, tops[] = {0, 1, 3}, widths[] = {8, 4, 4}, heights[] = {6, 3, 3};
    for (int i = 0; i < 3; ++i) {
        const gif::GifFrameSpan& f = s.frames[i];
        EXPECT_EQ(f.delay, delays[i]);
        EXPECT_EQ(f.disposal, disposals[i]);
        EXPECT_EQ(f.left, lefts[i]);
        EXPECT_EQ(f.top, tops[i]);
        EXPECT_EQ(f.width, widths[i]);
        EXPECT_EQ(uint8_t(data[f.offset]), 0x21);  // each frame starts at its control extension
        std::vector<uint8_t> one = gif::BuildFrameGif(reinterpret_cast<const uint8_t*>(data.data()), data.size(), s, f);
        ASSERT_EQ(one.size(), 13 + 12 + f.length + 1);
        EXPECT_EQ(Bytes(one.begin(), one.begin() + 25), data.substr(0, 25));
        EXPECT_EQ(one.back(), 0x3B);
        gif::GifScan alone;
        EXPECT_TRUE(gif::ScanGif(one.data(), one.size(), alone));
        EXPECT_EQ(alone.frames.size(), 1u);
        // Shown alone, the frame stands at 0,0 on a screen of its own size.
        one = gif::BuildStillGif(reinterpret_cast<const uint8_t*>(data.data()), data.size(), s, f);
        ASSERT_TRUE(gif::ScanGif(one.data(), one.size(), alone) && alone.frames.size() == 1);
        EXPECT_EQ(std::vector<int>({alone.screenWidth, alone.screenHeight, alone.frames[0].left, alone.frames[0].top}),
                  std::vector<int>({widths[i], heights[i], 0, 0}));
    }
    // A frame without a control extension rests: its delay is all ones.
    Bytes bare = Header(4, 4) + Image(0, 0, 4, 4, 1) + Image(0, 0, 4, 4, 2) + ";";
    ASSERT_TRUE(Scan(bare, s));
    EXPECT_EQ(s.frames[1].delay, 0xFFFFFFFFu);
    EXPECT_EQ(s.frames[1].disposal, 0);
}

TEST(GifBlocks, BrokenAndHostileDataIsRefused)
{
    Bytes many = Header(4, 4);
    for (size_t i = 0; i <= gif::kMaxFrames; ++i) many += Image(0, 0, 1, 1, 1);
    struct Case { const char* name; Bytes data; };
    const Case cases[] = {
        {"empty", ""},
        {"signature only", "GIF89a"},
        {"not a GIF", "GIF90a" + Bytes(20, '\0')},
        {"global table flag without a table", Header(4, 4, false).replace(10, 1, "\x87") + Image(0, 0, 4, 4, 1)},
        {"local table flag without a table", Header(4, 4) + Bytes("\x2C\0\0\0\0\4\0\4\0\x87\x02\x01\x00", 13)},
        {"sub-block longer than the file", Header(4, 4) + Bytes("\x2C\0\0\0\0\4\0\4\0\0\x02\xF0\x01", 13)},
        {"chain without terminator", Header(4, 4) + Bytes("\x2C\0\0\0\0\4\0\4\0\0\x02\x01\x01", 13)},
        {"descriptor cut short", Header(4, 4) + Bytes("\x2C\0\0\0", 4)},
        {"only frame wider than any screen", Header(4, 4) + Image(0, 0, 4097, 1, 1) + ";"},
        {"empty screen", Header(0, 4) + Image(0, 0, 0, 0, 1) + ";"},
        {"oversized screen", Header(5000, 4) + Image(0, 0, 4, 4, 1) + ";"},
        {"trailer only", Header(4, 4) + ";"},
        {"control extension at the end", Header(4, 4) + Gce(5, 0)},
        {"control extension then trailer", Header(4, 4) + Gce(5, 0) + ";"},
        {"too many frames", many},
    };
    for (const Case& c : cases) {
        gif::GifScan s;
        EXPECT_FALSE(Scan(c.data, s)) << c.name;
    }
}

// Cut anywhere, a file yields exactly the frames that end before the cut, or nothing.
TEST(GifBlocks, TruncatedAtEveryByte)
{
    Bytes data = ThreeFrames();
    gif::GifScan full;
    ASSERT_TRUE(Scan(data, full));
    for (size_t cut = 0; cut < data.size(); ++cut) {
        // Copied so that a read past the cut would read past the buffer (and show in a sanitizer).
        std::vector<uint8_t> part(data.begin(), data.begin() + cut);
        gif::GifScan s;
        size_t expected = 0;
        for (const gif::GifFrameSpan& f : full.frames) expected += f.offset + f.length <= cut;
        bool ok = gif::ScanGif(part.data(), part.size(), s);
        EXPECT_EQ(ok, expected > 0) << cut;
        EXPECT_EQ(s.frames.size(), ok ? expected : s.frames.size()) << cut;
    }
}
