// GIF bytes for the tests, block by block, with real LZW data that any decoder reads.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::string;

inline Bytes Le16(unsigned v) { return Bytes{char(v & 0xFF), char(v >> 8)}; }

// 4-colour table: white, red, green, blue.
inline Bytes Table4() { return Bytes("\xFF\xFF\xFF\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 12); }

inline Bytes Header(unsigned w, unsigned h, bool table = true, const char* sig = "GIF89a")
{
    return Bytes(sig) + Le16(w) + Le16(h) + char(table ? 0x81 : 0x00) + '\0' + '\0' + (table ? Table4() : "");
}

inline Bytes Gce(unsigned delay, int disposal, bool transparent = false)
{
    return Bytes("\x21\xF9\x04", 3) + char((disposal << 2) | (transparent ? 1 : 0)) + Le16(delay) + '\0' + '\0';
}

// Chops data into sub-blocks of at most 255 bytes and ends the chain.
inline Bytes SubBlocks(const Bytes& data)
{
    Bytes out;
    for (size_t i = 0; i < data.size(); i += 255) {
        size_t n = data.size() - i < 255 ? data.size() - i : 255;
        out += char(n) + data.substr(i, n);
    }
    return out + '\0';
}

// LZW with a clear code before every pixel, so the code width stays 3 bits.
inline Bytes Lzw(const std::vector<int>& pixels)
{
    Bytes out;
    unsigned acc = 0, bits = 0;
    auto put = [&](unsigned code) {
        acc |= code << bits;
        bits += 3;
        while (bits >= 8) { out += char(acc & 0xFF); acc >>= 8; bits -= 8; }
    };
    for (int p : pixels) { put(4); put(unsigned(p)); }
    put(5);
    if (bits)
        out += char(acc & 0xFF);
    return out;
}

// An image of one colour index; a local table and interlacing when asked.
inline Bytes Image(unsigned left, unsigned top, unsigned w, unsigned h, int colour, bool local = false,
                   bool interlaced = false)
{
    Bytes d = Bytes("\x2C", 1) + Le16(left) + Le16(top) + Le16(w) + Le16(h) +
              char((local ? 0x81 : 0) | (interlaced ? 0x40 : 0)) + (local ? Table4() : "");
    return d + '\x02' + SubBlocks(Lzw(std::vector<int>(size_t(w) * h, colour)));
}

inline Bytes LoopExtension()
{
    return Bytes("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
}

inline Bytes Comment(const std::string& text) { return Bytes("\x21\xFE", 2) + SubBlocks(text); }

inline Bytes PlainText()
{
    return Bytes("\x21\x01\x0C", 3) + Bytes(12, '\0') + SubBlocks("hi");
}
