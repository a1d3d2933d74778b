// Base64 of logon passwords against the RFC 4648 vectors and bytes above 0x7F.
#include "netsetter/Base64.h"
#include <gtest/gtest.h>

TEST(Base64, KnownVectors)
{
    const char* cases[][2] = {{"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},
                              {"foo", "Zm9v"},    {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
                              {"foobar", "Zm9vYmFy"}, {"abc", "YWJj"}, {"\xff\xfe\x80", "//6A"},
                              {"password12345678901", "cGFzc3dvcmQxMjM0NTY3ODkwMQ=="}};
    for (auto& c : cases) {
        char* out = Base64Encode(c[0]);
        ASSERT_NE(out, nullptr);
        EXPECT_STREQ(out, c[1]) << c[0];
        delete[] out;
    }
    EXPECT_EQ(Base64Encode(nullptr), nullptr);
}
