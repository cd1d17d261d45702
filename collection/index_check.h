// Compares the value index with what the locality and specimen records say
// it should hold (the same keys a rebuild would write), for "index pruefe".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalvor {

class Collection;

// One (field, value) whose set in the index differs from the records.
struct IndexDifference {
  std::uint16_t field = 0;
  std::uint32_t number = 0;  // number value (fields of kind 0x11)
  std::string text;          // text value (fields 1057 and 1060), Windows-1252
  bool isText = false;
  std::vector<std::uint32_t> missing;  // records that carry the value but are not in the set
  std::vector<std::uint32_t> extra;    // records in the set that do not carry the value
  std::uint32_t extraCount = 0;        // members of an entry with an empty text (never a valid key)
};

// Returns every difference between the value index and the records; empty
// when the index is right. Also reports a locality whose specimen list
// differs from its set (field 1083) as a difference of that field.
std::vector<IndexDifference> checkValueIndex(Collection& collection);

}  // namespace kalvor
