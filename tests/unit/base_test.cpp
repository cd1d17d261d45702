#include <gtest/gtest.h>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "base/file_io.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

TEST(Bytes, LittleEndianFieldsAreExact) {
  ByteWriter w;
  w.u8(0x80);
  w.u16(0x1234);
  w.i16(-2);
  w.u32(0xDEADBEEF);
  w.f64(1.5);
  const Bytes expected = {0x80, 0x34, 0x12, 0xFE, 0xFF, 0xEF, 0xBE, 0xAD, 0xDE,
                          0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
  EXPECT_EQ(w.data(), expected);

  ByteReader r(w.data());
  EXPECT_EQ(r.u8(), 0x80);
  EXPECT_EQ(r.u16(), 0x1234);
  EXPECT_EQ(r.i16(), -2);
  EXPECT_EQ(r.u32(), 0xDEADBEEFu);
  EXPECT_EQ(r.f64(), 1.5);
  EXPECT_FALSE(r.wasShort());
}

TEST(Bytes, ReadsPastTheEndGiveZerosAndAreFlagged) {
  const Bytes data = {0x01, 0x02, 0x03};
  ByteReader r(data);
  EXPECT_EQ(r.u16(), 0x0201);
  EXPECT_EQ(r.u32(), 0x03u);  // one real byte, three zeros
  EXPECT_TRUE(r.wasShort());
  EXPECT_EQ(r.remaining(), 0u);
  EXPECT_EQ(r.u8(), 0);
}

TEST(Bytes, FixedTextIsPaddedOrCutVisibly) {
  ByteWriter w;
  EXPECT_TRUE(w.fixedText("Gold", 6));
  EXPECT_FALSE(w.fixedText("Quarz", 5));  // needs its NUL: cut to "Quar"
  const Bytes expected = {'G', 'o', 'l', 'd', 0, 0, 'Q', 'u', 'a', 'r', 0};
  EXPECT_EQ(w.data(), expected);
  ByteReader r(w.data());
  EXPECT_EQ(r.fixedText(6), "Gold");
  EXPECT_EQ(r.fixedText(5), "Quar");
}

TEST(Cp1252, GermanTextRoundTripsAndForeignCharactersAreRefused) {
  const std::string utf8 = "Flussspat, Bleiglanz \xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xE2\x82\xAC";  // äöüß €
  const auto cp = utf8ToCp1252(utf8);
  ASSERT_TRUE(cp.has_value());
  EXPECT_EQ(cp->substr(cp->size() - 6), std::string("\xE4\xF6\xFC\xDF \x80"));
  EXPECT_EQ(cp1252ToUtf8(*cp), utf8);
  EXPECT_FALSE(utf8ToCp1252("\xCE\xB1").has_value());  // Greek alpha is not in Windows-1252
  EXPECT_FALSE(utf8ToCp1252("\xC3").has_value());      // truncated sequence
  EXPECT_EQ(utf8ToCp1252Lossy("a\xCE\xB1" "b"), "a?b");
}

TEST(FileIo, WholeFileWriteReplacesAndReadsBack) {
  testing::ScratchDir dir;
  const std::string path = dir.file("kalvor.tst");
  EXPECT_FALSE(readWholeFile(path).has_value());
  ASSERT_TRUE(writeWholeFile(path, Bytes{1, 2, 3}));
  ASSERT_TRUE(writeWholeFile(path, Bytes{9}));
  EXPECT_EQ(readWholeFile(path), Bytes{9});
  EXPECT_EQ(joinPath("", "kalvor.mi"), "kalvor.mi");
  EXPECT_EQ(joinPath("daten/", "kalvor.mi"), "daten/kalvor.mi");
  EXPECT_EQ(joinPath("daten", "kalvor.mi"), "daten/kalvor.mi");
}

}  // namespace
}  // namespace kalvor
