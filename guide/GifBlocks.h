// GIF87a/GIF89a block walker: finds the frames of an animated GIF and cuts each into a
// stand-alone GIF. No window or OLE calls, so it builds and is fuzzed on any platform.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gif {

// Kind of the block at the walker's cursor, by its introducer and label.
enum GifBlockType {
    kBlockUnknown = 0,
    kBlockApplication = 1,     // 0x21 0xFF
    kBlockComment = 2,         // 0x21 0xFE
    kBlockGraphicControl = 3,  // 0x21 0xF9
    kBlockPlainText = 4,       // 0x21 0x01
    kBlockImage = 5,           // 0x2C
    kBlockTrailer = 6,         // 0x3B
};

// One frame: where its blocks lie in the data and how it is shown.
struct GifFrameSpan {
    size_t offset = 0;   // its first block: the graphic control extension, else the image
    size_t length = 0;   // up to the end of its image (or plain-text) block
    size_t image = 0;    // its image descriptor (or plain-text block)
    uint32_t delay = 0xFFFFFFFFu;  // 1/100 s; all ones without a graphic control extension
    int disposal = 0;    // 0-7
    int left = 0, top = 0, width = 0, height = 0;
};

// What a scan found: the logical screen, the global colour table and the frames in file order.
struct GifScan {
    int screenWidth = 0;
    int screenHeight = 0;
    size_t globalTableSize = 0;  // bytes after the 13-byte header and screen descriptor
    std::vector<GifFrameSpan> frames;
    size_t fileFrames = 0;  // every frame the file holds, also those dropped as oversized
};

// Canvases and frames beyond this in either direction are refused rather than allocated.
const int kMaxScreenSide = 4096;
// More frames than this are refused: each one becomes a decoded picture.
const size_t kMaxFrames = 1000;

// True when the data begins with "GIF87a" or "GIF89a".
bool IsGif(const uint8_t* data, size_t size);

// Steps block by block through GIF data, never reading outside [data, data + size).
class CGifBlockWalker {
public:
    // False when the header, the screen descriptor or the global colour table does not fit.
    bool Open(const uint8_t* data, size_t size);

    int ScreenWidth() const { return m_screenWidth; }
    int ScreenHeight() const { return m_screenHeight; }
    size_t GlobalTableSize() const { return m_tableSize; }
    size_t Cursor() const { return m_cursor; }

    // The cursor goes to the first block after the header and the global colour table.
    void RewindToFirstBlock();
    GifBlockType PeekBlockType() const;
    // Bytes of the sub-block chain at pos with its terminator; 0 when it runs past the end.
    size_t MeasureSubBlocks(size_t pos) const;
    // Length of the block at the cursor; -1 for an unknown kind, 0 when it does not fit.
    long long GetNextBlockLen() const;
    // Moves past a block of len bytes; false when that would leave the data.
    bool AdvanceBlock(long long len);
    // Moves past the next frame; false at the trailer, an unknown block or broken data.
    bool PassGraphicBlock();
    // Like PassGraphicBlock, and describes the frame it passed.
    bool GetNextGraphicBlock(GifFrameSpan& frame);

private:
    bool SkipToGraphic(GifFrameSpan* frame);
    unsigned Byte(size_t pos) const { return pos < m_size ? m_data[pos] : 0u; }
    unsigned Word(size_t pos) const { return Byte(pos) | (Byte(pos + 1) << 8); }

    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_cursor = 0;
    size_t m_tableSize = 0;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
};

// Reads every frame. False for data that is no GIF, whose screen is oversized or empty, or that
// holds no frame that fits or too many frames. An oversized frame is dropped, the others kept;
// a frame that reaches past the screen is kept (it is drawn clipped). Frames after the first
// block that cannot be read (a missing trailer, say) are not counted.
bool ScanGif(const uint8_t* data, size_t size, GifScan& scan);

// A stand-alone GIF of one frame: header, screen descriptor, global colour table, the frame's
// blocks and a trailer. Empty when the frame does not lie inside the data.
std::vector<uint8_t> BuildFrameGif(const uint8_t* data, size_t size, const GifScan& scan,
                                   const GifFrameSpan& frame);

// The same for a frame shown alone: its screen is the frame's size and the frame stands at 0,0,
// so no decoder sees the file's screen or where the frame stood on it. Empty also for a frame
// without an image or with an empty one.
std::vector<uint8_t> BuildStillGif(const uint8_t* data, size_t size, const GifScan& scan,
                                   const GifFrameSpan& frame);

}  // namespace gif
