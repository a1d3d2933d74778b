// Fuzzes the dotted-quad parsers of the address texts, narrow and wide, and their round trip.
#include "afx/AddressText.h"
#include "tests/fuzz/FuzzCheck.h"
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    uint32_t narrow = afx::ParseDottedQuad(text.c_str());
    // Wide and narrow read ASCII alike (beyond it the C libraries classify characters their own way).
    bool ascii = true;
    for (unsigned char c : text)
        ascii = ascii && c < 0x80;
    if (ascii)
        FUZZ_CHECK(afx::ParseDottedQuad(std::wstring(text.begin(), text.end()).c_str()) == narrow);
    afx::ParseDottedParts(text.c_str());
    // Whatever is displayed reads back as the same address, both ways.
    std::string shown = afx::FormatIpAddressA(narrow);
    FUZZ_CHECK(shown.size() <= 15);
    FUZZ_CHECK(afx::ParseDottedQuad(shown.c_str()) == narrow);
    FUZZ_CHECK(afx::ParseDottedParts(shown.c_str()) == narrow);
    if (size >= 6)
        FUZZ_CHECK(afx::FormatMacAddressA(data).size() == 17);
    return 0;
}
