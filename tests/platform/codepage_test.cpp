// Code page 932: the game's own texts survive the round trip, byte for byte.
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Codepage, GameTextsRoundTrip) {
  for (const std::string text :
       {"～ #Fumbo!2nd Option ～", "終了しますか？", "[←]：値を減らす　[→]：値を増やす",
        "＃Ｆｕｍｂｏ！２ｎｄを終了します。", "Quit '#Fumbo! 2nd'", "0 / Manual"}) {
    const std::string cp932 = Utf8ToCp932(text);
    EXPECT_FALSE(cp932.empty());
    EXPECT_EQ(Cp932ToUtf8(cp932), text);
  }
}

TEST(Codepage, VendorMappingsAndByteCounts) {
  // The full-width tilde is 0x81 0x60 in this code page, and 0x81 0x60 reads back as it.
  EXPECT_EQ(Utf8ToCp932("～"), "\x81\x60");
  EXPECT_EQ(Cp932ToUtf8("\x81\x60"), "～");
  // One byte for ASCII, two for every full-width character, ideographic space included.
  EXPECT_EQ(Utf8ToCp932("終了しますか？").size(), 14u);
  EXPECT_EQ(Utf8ToCp932("[←]：値を減らす　[→]：値を増やす").size(), 34u);
  EXPECT_EQ(Utf8ToCp932("\u3000"), "\x81\x40");
}

TEST(Codepage, DamagedInputKeepsItsReadablePart) {
  EXPECT_EQ(Cp932ToUtf8(std::string("ab\x81", 3)), "ab");  // cut inside a character
  EXPECT_EQ(Cp932ToUtf8(std::string("a\xFF"
                                    "b",
                                    3)),
            "ab");  // no such byte
  EXPECT_EQ(Utf8ToCp932("a\xC3(b"), "a(b");
  EXPECT_EQ(Utf8ToCp932("x\U0001F600y"), "xy");  // nothing for it in the code page
  EXPECT_EQ(Cp932ToUtf8(""), "");
}

}  // namespace
