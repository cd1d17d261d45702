// The messages that the collection's entry and delete rules show the user.
// A core operation returns one of these ids; the dialogs and kalvor-cli look
// up text and caption and show them. Ids from 10000 to 10119 are those of the
// program's string table; the others are texts that the dialogs own.
#pragma once

#include <cstdint>
#include <string>

#include "string_ids.h"

namespace kalvor {

enum class CollectionMessage : std::uint16_t {
  kNone = 0,
  kUnknownLocality = strings::kStrUnknown,
  kInputErrorCaption = strings::kStrInputErrorCaption,
  kBadMonth = strings::kStrBadMonth,
  kNotLeapYear = strings::kStrNotLeapYear,
  kTooManyDays = strings::kStrTooManyDays,
  kProcessingSpecimen = strings::kStrProcessingSpecimen,
  kDeleteSpecimenQuestion = strings::kStrDeleteSpecimenQuestion,
  kDeleteSpecimenCaption = strings::kStrDeleteSpecimenCaption,
  // Texts of the entry and delete dialogs (not in the string table).
  kNoMineral = 20001,
  kSaveFailed = 20002,
  kSaveFailedCaption = 20003,
  kNoNewLocality = 20004,
  kIncompleteInputCaption = 20005,
  kMineralOnSpecimen = 20006,
  kListConsistencyCaption = 20007,
  kProcessingLocality = 20008,  // "Bearbeite Fundstelle %ld/%ld"
  kDeleteLocalityCaption = 20009,
  kReplaceLocalityQuestion = 20010,
  kDeleteLocalityWithSpecimensQuestion = 20011,
  kNewLocalityEntry = 20012,  // "neue Fundstelle"
  // Inputs that cannot be stored or read; their "%s" marks take the field's
  // name first, then the offending part (see FormFailure).
  kTextTooLong = 20013,     // field, limit, the part that does not fit
  kLineBreak = 20014,       // field, the text before the break
  kUnknownMineral = 20015,  // field, the name
  kInvalidAmount = 20016,   // field, the text
  kAmountTooLarge = 20017,  // field, the text
  kBadDate = 20018,
  kNotRepresentable = 20019,    // field, the character
  kUnreadableHardness = 20020,  // the text
  kUnreadableDensity = 20021,   // the text
};

// The German text of a message (Windows-1252); empty for kNone.
std::string collectionMessageText(CollectionMessage message);

// The caption that goes with a message box showing `message`.
CollectionMessage collectionMessageCaption(CollectionMessage message);

}  // namespace kalvor
