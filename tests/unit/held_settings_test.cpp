#include "platform/held_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "collection/value_index.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::ScratchDir;

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(HeldSettings, KeepsWritesFromTheFileUntilReleased) {
  ScratchDir dir;
  const std::string path = dir.file("kalvor.ini");
  const Bytes original = bytesOf("[Status]\r\nIndex-Defekt=0\r\n[Optionen]\r\nBlasenhilfe=1\r\n");
  ASSERT_TRUE(testing::writeFile(path, original));
  HeldSettings held(openIniSettings(path));

  EXPECT_TRUE(held.writeString("status", "INDEX-DEFEKT", "1"));
  EXPECT_TRUE(held.deleteKey("Optionen", "Blasenhilfe"));
  EXPECT_TRUE(held.writeInt("Edit", "Fundort", 12));
  EXPECT_TRUE(held.writeInt("Edit", "Fundort", -4));  // the later write wins
  // Nothing has reached the file, but every read sees the held state.
  EXPECT_EQ(testing::readFile(path), original);
  EXPECT_EQ(held.getInt("Status", "Index-Defekt", 9), 1);
  EXPECT_EQ(held.getInt("Optionen", "Blasenhilfe", 7), 7);
  EXPECT_EQ(held.getString("Optionen", "Blasenhilfe", "weg"), "weg");
  EXPECT_EQ(held.getInt("Edit", "Fundort", 0), -4);
  EXPECT_EQ(held.getString("Fehlt", "Fehlt", "x"), "x");
  EXPECT_TRUE(held.holding());

  EXPECT_TRUE(held.release());
  EXPECT_FALSE(held.holding());
  auto file = openIniSettings(path);
  EXPECT_EQ(file->getInt("Status", "Index-Defekt", 9), 1);
  EXPECT_EQ(file->getInt("Optionen", "Blasenhilfe", 7), 7);
  EXPECT_EQ(file->getInt("Edit", "Fundort", 0), -4);
  // From now on writes go straight through.
  EXPECT_TRUE(held.writeInt("Status", "Index-Defekt", 0));
  EXPECT_EQ(openIniSettings(path)->getInt("Status", "Index-Defekt", 9), 0);
}

TEST(HeldSettings, AFailedStartLeavesTheIndexFlagUnwritten) {
  // The value index records "Index-Defekt" at once when it cannot open; held,
  // that write never reaches the file of a start that is abandoned.
  ScratchDir dir;
  const std::string path = dir.file("kalvor.ini");
  HeldSettings held(openIniSettings(path));
  ValueIndex index(10, [](std::string_view a, std::string_view b) { return a.compare(b); }, &held);
  index.loadUnavailableFlag();
  EXPECT_FALSE(index.unavailable());
  index.setUnavailable(true);
  EXPECT_TRUE(index.unavailable());
  EXPECT_EQ(held.getInt("Status", "Index-Defekt", 0), 1);
  EXPECT_TRUE(testing::readFile(path).empty());
}

}  // namespace
}  // namespace kalvor
