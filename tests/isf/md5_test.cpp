// MD5 against the test suite of RFC 1321 and the padding boundaries.
#include "isf/md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string hex(const isf::Md5Digest& digest) {
  std::string text;
  char pair[3];
  for (std::uint8_t byte : digest) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}

TEST(Md5Tests, Rfc1321TestSuite) {
  struct Case {
    std::string message;
    const char* digest;
  } const cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const Case& c : cases) EXPECT_EQ(hex(isf::md5(c.message)), c.digest) << c.message;
}

TEST(Md5Tests, PaddingBoundariesAndNulBytes) {
  // Lengths around the 56-byte point where the length field spills into a
  // second padding block, and around the 64-byte block size.
  struct Case {
    std::size_t length;
    const char* digest;
  } const cases[] = {
      {55, "ef1772b6dff9a122358552954ad0df65"}, {56, "3b0c8ac703f828b04c6c197006d17218"},
      {63, "b06521f39153d618550606be297466d5"}, {64, "014842d480b571495a4a0363793f7367"},
      {65, "c743a45e0d2e6a95cb859adae0248435"}, {1000, "cabe45dcc9ae5b66ba86600cca6b8ba8"},
  };
  for (const Case& c : cases) EXPECT_EQ(hex(isf::md5(std::string(c.length, 'a'))), c.digest);
  EXPECT_EQ(hex(isf::md5(std::string("a\0b", 3))), "70350f6027bce3713f6b76473084309b");
}

}  // namespace
