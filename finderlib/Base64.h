// Base64 of a logon password, as protected devices expect it in the logon request: the finder
// library and the network setter both use this one, so they send the same text for the same bytes.
#pragma once
#include <cstddef>
#include <cstring>
#include <new>
#include <string>

// Writes the four characters of one group at out + pos and returns pos + 4. A group of one byte
// passes b2 = 0, a group of two bytes b3 = 0 (a zero byte ends the text it comes from).
inline size_t Base64EncodeGroup(char* out, size_t pos, unsigned char b1, unsigned char b2, unsigned char b3)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out[pos] = kAlphabet[b1 >> 2];
    out[pos + 1] = kAlphabet[((b1 & 3) << 4) | (b2 >> 4)];
    out[pos + 2] = b2 ? kAlphabet[((b2 & 15) << 2) | (b3 >> 6)] : '=';
    out[pos + 3] = (b2 && b3) ? kAlphabet[b3 & 63] : '=';
    return pos + 4;
}

// The standard alphabet with "=" padding and no line breaks, of the bytes of a zero-terminated
// text. Returns a new zero-terminated text owned by the caller (free with delete[]), or nullptr
// when no memory could be had.
inline char* Base64Encode(const char* text)
{
    if (!text)
        return nullptr;
    size_t n = std::strlen(text);
    char* out = new (std::nothrow) char[(n + 2) / 3 * 4 + 1];
    if (!out)
        return nullptr;
    const auto* in = reinterpret_cast<const unsigned char*>(text);
    size_t pos = 0;
    for (size_t i = 0; i < n; i += 3) {
        unsigned char b2 = i + 1 < n ? in[i + 1] : 0;
        unsigned char b3 = i + 2 < n ? in[i + 2] : 0;
        pos = Base64EncodeGroup(out, pos, in[i], b2, b3);
    }
    out[pos] = '\0';
    return out;
}

// The same as a string; empty when no memory could be had.
inline std::string Base64EncodeText(const char* text)
{
    char* encoded = Base64Encode(text);
    if (!encoded)
        return std::string();
    std::string result(encoded);
    delete[] encoded;
    return result;
}
