// GIF87a/GIF89a block walker: every read is checked against the end of the data.
#include "guide/GifBlocks.h"
#include <cstring>

namespace gif {

namespace {
const size_t kHeaderSize = 13;  // "GIF89a" and the logical screen descriptor

// Bytes of a colour table announced by a packed byte whose bit 7 says one follows.
size_t TableSize(unsigned packed)
{
    return (packed & 0x80) ? 3u * (size_t(1) << ((packed & 7) + 1)) : 0;
}
}  // namespace

bool IsGif(const uint8_t* data, size_t size)
{
    return data && size >= 6 &&
           (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
}

bool CGifBlockWalker::Open(const uint8_t* data, size_t size)
{
    m_data = data;
    m_size = data ? size : 0;
    m_cursor = 0;
    m_tableSize = 0;
    m_screenWidth = m_screenHeight = 0;
    if (!IsGif(data, size) || size < kHeaderSize)
        return false;
    m_screenWidth = int(Word(6));
    m_screenHeight = int(Word(8));
    m_tableSize = TableSize(Byte(10));
    // A table flag with no table behind it is broken data, not an empty table.
    if (kHeaderSize + m_tableSize > m_size)
        return false;
    RewindToFirstBlock();
    return true;
}

void CGifBlockWalker::RewindToFirstBlock()
{
    m_cursor = kHeaderSize + m_tableSize;
}

GifBlockType CGifBlockWalker::PeekBlockType() const
{
    if (m_cursor >= m_size)
        return kBlockUnknown;
    switch (Byte(m_cursor)) {
    case 0x2C: return kBlockImage;
    case 0x3B: return kBlockTrailer;
    case 0x21:
        if (m_cursor + 1 >= m_size)
            return kBlockUnknown;
        switch (Byte(m_cursor + 1)) {
        case 0xFF: return kBlockApplication;
        case 0xFE: return kBlockComment;
        case 0xF9: return kBlockGraphicControl;
        case 0x01: return kBlockPlainText;
        default: return kBlockUnknown;
        }
    default: return kBlockUnknown;
    }
}

size_t CGifBlockWalker::MeasureSubBlocks(size_t pos) const
{
    size_t total = 0;
    for (;;) {
        if (pos >= m_size)
            return 0;
        size_t len = m_data[pos];
        if (len == 0)
            return total + 1;
        if (len + 1 > m_size - pos)
            return 0;
        total += len + 1;
        pos += len + 1;
    }
}

long long CGifBlockWalker::GetNextBlockLen() const
{
    // A fixed part that runs past the end measures 0, as a broken chain does.
    auto chained = [this](size_t fixed) -> long long {
        if (fixed > m_size - m_cursor)
            return 0;
        size_t chain = MeasureSubBlocks(m_cursor + fixed);
        return chain ? (long long)(fixed + chain) : 0;
    };
    switch (PeekBlockType()) {
    case kBlockApplication: return chained(14);
    case kBlockComment: return chained(2);
    case kBlockGraphicControl: return 8;
    case kBlockPlainText: return chained(15);
    case kBlockImage:
        if (10 > m_size - m_cursor)
            return 0;
        return chained(11 + TableSize(Byte(m_cursor + 9)));
    case kBlockTrailer: return 1;
    default: return -1;
    }
}

bool CGifBlockWalker::AdvanceBlock(long long len)
{
    if (!m_data || len <= 0 || m_cursor > m_size || (unsigned long long)len > m_size - m_cursor)
        return false;
    m_cursor += size_t(len);
    return true;
}

bool CGifBlockWalker::SkipToGraphic(GifFrameSpan* frame)
{
    GifBlockType type = PeekBlockType();
    while (type == kBlockApplication || type == kBlockComment) {
        if (!AdvanceBlock(GetNextBlockLen()))
            return false;
        type = PeekBlockType();
    }
    if (type != kBlockGraphicControl && type != kBlockImage && type != kBlockPlainText)
        return false;
    size_t start = m_cursor;
    if (type == kBlockGraphicControl) {
        if (!AdvanceBlock(GetNextBlockLen()))
            return false;
        if (frame) {
            frame->disposal = int((Byte(start + 3) >> 2) & 7);
            frame->delay = Word(start + 4);
        }
        for (type = PeekBlockType(); type != kBlockImage && type != kBlockPlainText; type = PeekBlockType()) {
            if (type == kBlockUnknown || type == kBlockTrailer || !AdvanceBlock(GetNextBlockLen()))
                return false;
        }
    }
    size_t image = m_cursor;
    if (!AdvanceBlock(GetNextBlockLen()))
        return false;
    if (frame) {
        frame->offset = start;
        frame->length = m_cursor - start;
        frame->image = image;
        if (type == kBlockImage) {
            frame->left = int(Word(image + 1));
            frame->top = int(Word(image + 3));
            frame->width = int(Word(image + 5));
            frame->height = int(Word(image + 7));
        }
    }
    return true;
}

bool CGifBlockWalker::PassGraphicBlock()
{
    return SkipToGraphic(nullptr);
}

bool CGifBlockWalker::GetNextGraphicBlock(GifFrameSpan& frame)
{
    frame = GifFrameSpan();
    return SkipToGraphic(&frame);
}

bool ScanGif(const uint8_t* data, size_t size, GifScan& scan)
{
    scan = GifScan();
    CGifBlockWalker walker;
    if (!walker.Open(data, size))
        return false;
    scan.screenWidth = walker.ScreenWidth();
    scan.screenHeight = walker.ScreenHeight();
    scan.globalTableSize = walker.GlobalTableSize();
    if (scan.screenWidth <= 0 || scan.screenHeight <= 0 || scan.screenWidth > kMaxScreenSide ||
        scan.screenHeight > kMaxScreenSide)
        return false;
    GifFrameSpan frame;
    while (walker.GetNextGraphicBlock(frame)) {
        if (scan.fileFrames++ == kMaxFrames)
            return false;
        // A frame may reach past the screen (it is drawn clipped), but no frame is decoded
        // larger than the largest screen: such a frame is left out, as one that cannot be decoded.
        if (frame.width > kMaxScreenSide || frame.height > kMaxScreenSide)
            continue;
        scan.frames.push_back(frame);
    }
    return !scan.frames.empty();
}

std::vector<uint8_t> BuildFrameGif(const uint8_t* data, size_t size, const GifScan& scan,
                                   const GifFrameSpan& frame)
{
    std::vector<uint8_t> out;
    size_t head = kHeaderSize + scan.globalTableSize;
    if (!data || head > size || frame.offset < head || frame.offset > size ||
        frame.length > size - frame.offset || frame.length == 0)
        return out;
    out.reserve(head + frame.length + 1);
    out.insert(out.end(), data, data + head);
    out.insert(out.end(), data + frame.offset, data + frame.offset + frame.length);
    out.push_back(0x3B);
    return out;
}

std::vector<uint8_t> BuildStillGif(const uint8_t* data, size_t size, const GifScan& scan,
                                   const GifFrameSpan& frame)
{
    std::vector<uint8_t> out = BuildFrameGif(data, size, scan, frame);
    // The image descriptor's 10 bytes lie inside the frame's blocks.
    size_t at = frame.image - frame.offset;
    if (out.empty() || frame.image < frame.offset || frame.length < 10 || at > frame.length - 10 ||
        out[kHeaderSize + scan.globalTableSize + at] != 0x2C || frame.width <= 0 || frame.height <= 0) {
        out.clear();
        return out;
    }
    size_t image = kHeaderSize + scan.globalTableSize + at;
    auto put16 = [&out](size_t pos, unsigned v) {
        out[pos] = uint8_t(v & 0xFF);
        out[pos + 1] = uint8_t(v >> 8);
    };
    put16(6, unsigned(frame.width));
    put16(8, unsigned(frame.height));
    put16(image + 1, 0);
    put16(image + 3, 0);
    return out;
}

}  // namespace gif
