// Base64 text of a logon password, as protected devices expect it in the logon request.
#pragma once
#include <cstddef>
#include <string>

// Writes the four characters of one group at out + pos and returns pos + 4. A group of one byte
// passes b2 = 0, a group of two bytes b3 = 0 (a zero byte ends the text it comes from).
size_t Base64EncodeGroup(char* out, size_t pos, unsigned char b1, unsigned char b2, unsigned char b3);

// The standard alphabet with "=" padding and no line breaks, of the bytes of a zero-terminated
// text. Returns a new zero-terminated text owned by the caller (free with delete[]), or nullptr
// when no memory could be had.
char* Base64Encode(const char* text);

// The same as a string, for callers that need no ownership games.
std::string Base64EncodeText(const char* text);
