#include <gtest/gtest.h>

#include <string>

#include "platform/file_attributes.h"
#include "platform/settings.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::ScratchDir;

std::string text(const Bytes& b) { return std::string(b.begin(), b.end()); }
Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(IniSettings, ReadsLikeThePrivateProfileFunctions) {
  ScratchDir dir;
  const std::string path = dir.file("kalvor.ini");
  ASSERT_TRUE(testing::writeFile(path, bytesOf(testing::cp(
      "; Kalvor\r\n[Status]\r\nIndex-Defekt = 1 \r\n[Edit]\r\nFundort=17abc\r\nLeer=\r\n"
      "Text=  \"Grube Clara\"  \r\nKein Wert\r\n[Optionen]\r\nStufensortierung=-3\r\n[status]\r\nIndex-Defekt=9\r\n"))));
  auto ini = openIniSettings(path);
  // Section and key names ignore case; the first section of a name counts.
  EXPECT_EQ(ini->getInt("STATUS", "index-defekt", 5), 1);
  EXPECT_EQ(ini->getInt("Edit", "Fundort", 0), 17);       // the leading number
  EXPECT_EQ(ini->getInt("Edit", "Leer", 42), 42);         // empty value: the default
  EXPECT_EQ(ini->getInt("Edit", "Text", 42), 0);          // not a number
  EXPECT_EQ(ini->getInt("Optionen", "Stufensortierung", 0), -3);
  EXPECT_EQ(ini->getInt("Edit", "Fehlt", 7), 7);
  EXPECT_EQ(ini->getInt("Fehlt", "Fundort", 7), 7);
  EXPECT_EQ(ini->getString("edit", "TEXT", "x"), "Grube Clara");  // blanks and quotes removed
  EXPECT_EQ(ini->getString("Edit", "Kein Wert", "x"), "");
  EXPECT_EQ(ini->getString("Edit", "Fehlt", "vorgabe"), "vorgabe");
  // A comment is no key.
  EXPECT_EQ(ini->getString("Status", "; Kalvor", "x"), "x");

  auto missing = openIniSettings(dir.file("fehlt.ini"));
  EXPECT_EQ(missing->getInt("Status", "Index-Defekt", 0), 0);
  EXPECT_EQ(missing->getString("Sammlung", "Index", "A"), "A");
}

TEST(IniSettings, WritingKeepsEverythingElse) {
  ScratchDir dir;
  const std::string path = dir.file("kalvor.ini");
  auto ini = openIniSettings(path);
  // Created on the first write.
  ASSERT_TRUE(ini->writeInt("Status", "Index-Defekt", 0));
  EXPECT_EQ(text(testing::readFile(path)), "[Status]\r\nIndex-Defekt=0\r\n");

  ASSERT_TRUE(testing::writeFile(path, bytesOf(testing::cp(
      "; Einstellungen\r\n[Status]\r\nIndex-Defekt=0\r\n\r\n[Edit]\r\nFundort=3\r\n; Ende\r\n"))));
  ASSERT_TRUE(ini->writeInt("status", "INDEX-DEFEKT", 1));          // replaced in place
  ASSERT_TRUE(ini->writeString("Status", "Neu", "ja"));             // after the section's last line
  ASSERT_TRUE(ini->writeString("Sammlung", "Index", testing::cp("Stück")));  // new section at the end
  EXPECT_EQ(text(testing::readFile(path)),
            testing::cp("; Einstellungen\r\n[Status]\r\nINDEX-DEFEKT=1\r\nNeu=ja\r\n\r\n[Edit]\r\nFundort=3\r\n"
                        "; Ende\r\n[Sammlung]\r\nIndex=Stück\r\n"));
  EXPECT_EQ(ini->getInt("Status", "Index-Defekt", 0), 1);
  EXPECT_EQ(ini->getString("Sammlung", "Index", ""), testing::cp("Stück"));

  ASSERT_TRUE(ini->deleteKey("Status", "Neu"));
  ASSERT_TRUE(ini->deleteKey("Status", "Fehlt"));
  EXPECT_EQ(ini->getString("Status", "Neu", "weg"), "weg");
  EXPECT_EQ(ini->getInt("Edit", "Fundort", 0), 3);
}

TEST(FileAttributes, ReadOnlyMarkingAndClearing) {
  ScratchDir dir;
  const std::string path = dir.file("kalvor.fs");
  ASSERT_TRUE(testing::writeFile(path, Bytes{1, 2, 3}));
  EXPECT_FALSE(isFileReadOnly(path));
  ASSERT_TRUE(setFileReadOnly(path, true));
  EXPECT_TRUE(isFileReadOnly(path));
  ASSERT_TRUE(setFileReadOnly(path, false));
  EXPECT_FALSE(isFileReadOnly(path));
  EXPECT_FALSE(setFileReadOnly(dir.file("fehlt"), true));
}

}  // namespace
}  // namespace kalvor
