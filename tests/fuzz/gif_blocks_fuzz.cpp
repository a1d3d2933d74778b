// Fuzzes the guide's GIF block walker: scanning, stepping block by block, and cutting frames out.
#include "guide/GifBlocks.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    gif::CGifBlockWalker walker;
    if (walker.Open(data, size)) {
        walker.RewindToFirstBlock();
        // Every step moves forward, so a hostile file cannot hold the walker in place.
        for (size_t last = walker.Cursor(); walker.PassGraphicBlock(); last = walker.Cursor())
            FUZZ_CHECK(walker.Cursor() > last && walker.Cursor() <= size);
    }
    gif::GifScan scan;
    if (!gif::ScanGif(data, size, scan))
        return 0;
    FUZZ_CHECK(!scan.frames.empty() && scan.frames.size() <= scan.fileFrames && scan.fileFrames <= gif::kMaxFrames);
    for (const gif::GifFrameSpan& f : scan.frames) {
        FUZZ_CHECK(f.offset + f.length <= size);
        FUZZ_CHECK(f.width <= gif::kMaxScreenSide && f.height <= gif::kMaxScreenSide);
        std::vector<uint8_t> one = gif::BuildFrameGif(data, size, scan, f);
        // A cut frame is itself a GIF of exactly one frame on the same screen.
        FUZZ_CHECK(one.size() == 13 + scan.globalTableSize + f.length + 1 && one.back() == 0x3B);
        gif::GifScan again;
        FUZZ_CHECK(gif::ScanGif(one.data(), one.size(), again) && again.frames.size() == 1);
        // Shown alone, it is the same frame at 0,0 on a screen of its own size.
        one = gif::BuildStillGif(data, size, scan, f);
        FUZZ_CHECK(one.empty() || (gif::ScanGif(one.data(), one.size(), again) && again.frames.size() == 1 &&
                                   again.screenWidth == f.width && again.frames[0].left == 0));
    }
    return 0;
}
