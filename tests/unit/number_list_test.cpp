#include <gtest/gtest.h>

#include "determination/number_list.h"

namespace kalvor {
namespace {

NumberList nl(std::initializer_list<MineralNumber> numbers) { return NumberList{numbers}; }

TEST(NumberLists, IntersectionKeepsCommonNumbersAndIsAbsentWhenNoneAreCommon) {
  const OptionalNumberList a = nl({1, 4, 7, 9, 300});
  const OptionalNumberList b = nl({2, 4, 9, 10, 300, 301});
  EXPECT_EQ(intersectNumberLists(a, b), nl({4, 9, 300}));
  EXPECT_EQ(intersectNumberLists(b, a), nl({4, 9, 300}));
  // No common number: absent, never a present list with count 0.
  const OptionalNumberList disjoint = intersectNumberLists(nl({1, 3}), nl({2, 4}));
  EXPECT_FALSE(disjoint.has_value());
  EXPECT_FALSE(intersectNumberLists(a, std::nullopt).has_value());
  EXPECT_FALSE(intersectNumberLists(std::nullopt, b).has_value());
  EXPECT_FALSE(intersectNumberLists(a, nl({})).has_value());
  // Inputs are left alone.
  EXPECT_EQ(a, nl({1, 4, 7, 9, 300}));
  EXPECT_EQ(b, nl({2, 4, 9, 10, 300, 301}));
}

TEST(NumberLists, UnionHoldsEachNumberOnceInAscendingOrder) {
  EXPECT_EQ(uniteNumberLists(nl({1, 5, 9}), nl({2, 5, 9, 12})), nl({1, 2, 5, 9, 12}));
  EXPECT_EQ(uniteNumberLists(nl({0, 65535}), nl({1})), nl({0, 1, 65535}));
  // An absent operand gives the other list exactly as it is, even a present empty one.
  EXPECT_EQ(uniteNumberLists(std::nullopt, nl({3, 8})), nl({3, 8}));
  EXPECT_EQ(uniteNumberLists(nl({3, 8}), std::nullopt), nl({3, 8}));
  EXPECT_EQ(uniteNumberLists(std::nullopt, nl({})), nl({}));
  EXPECT_FALSE(uniteNumberLists(std::nullopt, std::nullopt).has_value());
  EXPECT_FALSE(uniteNumberLists(nl({}), nl({})).has_value());
  EXPECT_EQ(uniteNumberLists(nl({}), nl({4})), nl({4}));
}

TEST(NumberLists, UnionOfTheWholeDatabaseDoesNotOverflow) {
  NumberList even, odd;
  for (MineralNumber n = 0; n < 16535; ++n) (n % 2 ? odd : even).numbers.push_back(n);
  const OptionalNumberList all = uniteNumberLists(even, odd);
  ASSERT_TRUE(all.has_value());
  ASSERT_EQ(all->size(), 16535u);
  for (std::size_t k = 0; k < all->size(); ++k) EXPECT_EQ(all->numbers[k], k);
}

TEST(NumberLists, RestrictDistinguishesNoRestrictionFromNothingFound) {
  // No restriction yet: the next criterion's list is the result as it is.
  EXPECT_EQ(restrictNumberList(std::nullopt, nl({2, 3})), nl({2, 3}));
  EXPECT_FALSE(restrictNumberList(std::nullopt, std::nullopt).has_value());
  // A criterion that found nothing empties a present running result.
  EXPECT_FALSE(restrictNumberList(nl({2, 3}), std::nullopt).has_value());
  EXPECT_EQ(restrictNumberList(nl({1, 2, 3, 7}), nl({2, 7, 8})), nl({2, 7}));
  EXPECT_FALSE(restrictNumberList(nl({1}), nl({2})).has_value());

  // A search of three criteria: the running result narrows step by step.
  OptionalNumberList running;
  running = restrictNumberList(std::move(running), nl({1, 2, 3, 4, 5}));
  running = restrictNumberList(std::move(running), uniteNumberLists(nl({2}), nl({4, 6})));
  EXPECT_EQ(running, nl({2, 4}));
  running = restrictNumberList(std::move(running), nl({5}));
  EXPECT_FALSE(running.has_value());
}

TEST(NumberLists, SerialisedFormIsCountThenNumbersLittleEndian) {
  const Bytes bytes = encodeNumberList(nl({0x0102, 0x0A0B}));
  EXPECT_EQ(bytes, (Bytes{0x02, 0x00, 0x02, 0x01, 0x0B, 0x0A}));
  std::size_t used = 0;
  const auto back = decodeNumberList(bytes, &used);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, nl({0x0102, 0x0A0B}));
  EXPECT_EQ(used, 6u);
  EXPECT_FALSE(decodeNumberList(Bytes{0x03, 0x00, 0x01, 0x00}).has_value());  // count says 3, holds 1
  EXPECT_FALSE(decodeNumberList(Bytes{0x01}).has_value());
  EXPECT_EQ(decodeNumberList(Bytes{0x00, 0x00}), nl({}));
}

}  // namespace
}  // namespace kalvor
