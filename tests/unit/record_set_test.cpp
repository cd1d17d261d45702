#include <gtest/gtest.h>

#include "collection/record_set.h"

namespace kalvor {
namespace {

TEST(RecordSet, BitLayoutGrowthAndMembership) {
  RecordSet s;
  EXPECT_EQ(s.byteCount(), 0u);
  ASSERT_TRUE(s.add(0));
  ASSERT_TRUE(s.add(9));
  // Record 9 is bit 1 of byte 1; the set grew to (9 >> 3) + 1 = 2 bytes.
  EXPECT_EQ(s.bytes(), (Bytes{0x01, 0x02}));
  ASSERT_TRUE(s.add(23));
  EXPECT_EQ(s.bytes(), (Bytes{0x01, 0x02, 0x80}));
  EXPECT_TRUE(s.test(23));
  EXPECT_FALSE(s.test(22));
  EXPECT_FALSE(s.test(24));      // beyond the bytes: not a member
  EXPECT_FALSE(s.test(100000));
  EXPECT_EQ(s.count(), 3u);
  EXPECT_EQ(s.members(), (std::vector<std::uint32_t>{0, 9, 23}));

  s.remove(500);  // beyond the end: ignored, no growth
  EXPECT_EQ(s.byteCount(), 3u);
  s.remove(9);
  EXPECT_FALSE(s.test(9));
  EXPECT_EQ(s.count(), 2u);
  s.clear();
  EXPECT_EQ(s.count(), 0u);
  EXPECT_EQ(s.byteCount(), 3u);

  EXPECT_FALSE(s.add(RecordSet::kMaxRecord + 1));
  EXPECT_TRUE(s.add(RecordSet::kMaxRecord));
  EXPECT_EQ(s.byteCount(), RecordSet::kMaxBytes);

  // An absent set contains every record; an empty present one contains none.
  EXPECT_TRUE(testRecord(std::nullopt, 12345));
  EXPECT_FALSE(testRecord(RecordSet(), 0));
}

TEST(RecordSet, AllRecordsMasksTheLastByte) {
  const RecordSet ten = RecordSet::allRecords(10);
  EXPECT_EQ(ten.bytes(), (Bytes{0xFF, 0x03}));  // records 0..9
  EXPECT_EQ(ten.count(), 10u);
  const RecordSet eight = RecordSet::allRecords(8);
  EXPECT_EQ(eight.bytes(), (Bytes{0xFF, 0x00}));  // n/8 + 1 bytes even when n is a multiple of 8
  EXPECT_EQ(RecordSet::allRecords(0).bytes(), (Bytes{0x00}));
}

TEST(RecordSet, UnionAndIntersectionFollowTheOperandRules) {
  RecordSet shortSet(Bytes{0x05});               // 0, 2
  RecordSet longSet(Bytes{0x03, 0x00, 0x10});    // 0, 1, 20

  const auto united = uniteRecordSets(shortSet, longSet);
  ASSERT_TRUE(united);
  EXPECT_EQ(united->bytes(), (Bytes{0x07, 0x00, 0x10}));  // length of the longer
  const auto both = intersectRecordSets(shortSet, longSet);
  ASSERT_TRUE(both);
  EXPECT_EQ(both->bytes(), (Bytes{0x01}));  // length of the shorter
  const auto bothSwapped = intersectRecordSets(longSet, shortSet);
  EXPECT_EQ(bothSwapped, both);

  // Absent operands: union yields the other, intersection yields absent.
  EXPECT_EQ(uniteRecordSets(std::nullopt, longSet), std::optional<RecordSet>(longSet));
  EXPECT_EQ(uniteRecordSets(shortSet, std::nullopt), std::optional<RecordSet>(shortSet));
  EXPECT_FALSE(uniteRecordSets(std::nullopt, std::nullopt));
  EXPECT_FALSE(intersectRecordSets(std::nullopt, longSet));
  EXPECT_FALSE(intersectRecordSets(shortSet, std::nullopt));

  // The same set twice is unchanged.
  EXPECT_EQ(uniteRecordSets(longSet, longSet), std::optional<RecordSet>(longSet));
  EXPECT_EQ(intersectRecordSets(longSet, longSet), std::optional<RecordSet>(longSet));
}

TEST(RecordSet, StoredFormRoundTripsAndRejectsShortData) {
  RecordSet s;
  s.add(3);
  s.add(17);
  const Bytes stored = s.serialize();
  EXPECT_EQ(stored, (Bytes{0x03, 0x00, 0x08, 0x00, 0x02}));
  EXPECT_EQ(RecordSet::parse(stored), std::optional<RecordSet>(s));
  EXPECT_FALSE(RecordSet::parse(Bytes{0x03, 0x00, 0x08, 0x00}));  // claims 3 bytes, has 2
  EXPECT_FALSE(RecordSet::parse(Bytes{0x01}));
}

}  // namespace
}  // namespace kalvor
