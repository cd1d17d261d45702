// What the entry and search forms may take into a field: one table of the
// texts' limits as the records store them (the dialogs limit their edit
// controls to these numbers), the checks of a field's text against them, and
// the failure a form answers with when an input cannot be stored or read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collection/collection_messages.h"

namespace kalvor {

// Characters a text field holds: its stored width less the terminating zero.
namespace field_limits {
inline constexpr std::size_t kLocalityText = 39;  // name, nearest place, region, country, map reference
inline constexpr std::size_t kSpecimenIndex = 39;
inline constexpr std::size_t kStoragePlace = 79;
inline constexpr std::size_t kSpecimenSize = 19;
// The long descriptions: their stored length (zero included) is an i16.
inline constexpr std::size_t kDescription = 32766;
}  // namespace field_limits

// Control ids of the text fields that store or search a limited text.
namespace field_controls {
// "FUNDORTERFASSUNG" and "FUNDORTBESCHREIBUNG"
inline constexpr int kLocalityName = 1053;
inline constexpr int kLocalityNearestPlace = 1056;
inline constexpr int kLocalityRegion = 1060;
inline constexpr int kLocalityCountry = 1057;
inline constexpr int kLocalityMapReference = 1055;
inline constexpr int kLocalityMinerals = 1050;     // the current-mineral field
inline constexpr int kLocalityDescription = 1054;  // the multi-line text of FUNDORTBESCHREIBUNG
// "STUFENERFASSUNG" and "STUFENBESCHREIBUNG"
inline constexpr int kSpecimenMainMinerals = 1070;
inline constexpr int kSpecimenAccompanying = 1071;
inline constexpr int kSpecimenSize = 1074;
inline constexpr int kSpecimenCount = 1075;
inline constexpr int kSpecimenDate = 1076;
inline constexpr int kSpecimenIndex = 1077;
inline constexpr int kSpecimenStoragePlace = 1084;
inline constexpr int kSpecimenValue = 1085;
inline constexpr int kSpecimenPurchasePrice = 1086;
inline constexpr int kSpecimenDescription = 1088;  // the multi-line text of STUFENBESCHREIBUNG
// "FUNDORTSUCHE" and "SAMMLUNGSAUSWERTUNG"
inline constexpr int kSearchNearestPlace = 1171;
inline constexpr int kSearchStoragePlace = 1202;
inline constexpr int kSearchIndex = 1203;
}  // namespace field_controls

// One limited text field of a form.
struct FieldLimit {
  int controlId;
  const char* name;  // the field's German name for messages (Windows-1252)
  std::size_t maxChars;
  bool oneLine;  // a line break cannot be stored (it would forge a list line)
};

// Every limited text field of the entry and search forms.
const std::vector<FieldLimit>& fieldLimitTable();

// The limit of control `controlId`; nothing for a control without one.
const FieldLimit* fieldLimitOf(int controlId);

// Why a form stays open: the message (a string-table id or a CollectionMessage
// id) with the texts put in for its "%s" marks, the control that gets the
// focus with the text range to mark in it.
struct FormFailure {
  int messageId = 0;
  int captionId = 0;
  int controlId = 0;  // 0: no control is selected
  std::size_t selectionBegin = 0;
  std::size_t selectionEnd = 0;
  std::vector<std::string> inserts;  // Windows-1252, in the order of the "%s" marks

  bool operator==(const FormFailure&) const = default;
};

// A failure with a CollectionMessage; its caption is the message's own.
FormFailure formFailure(CollectionMessage message, int controlId = 0, std::vector<std::string> inserts = {});

// The text of a failure with its inserts (Windows-1252).
std::string formFailureText(const FormFailure& failure);
// The caption text of a failure (Windows-1252); empty when it has none.
std::string formFailureCaption(const FormFailure& failure);

// Checks a field's text against its limit: a line break in a one-line field
// (marked from the break to the end), or a text longer than the field (the
// part that does not fit is marked). Nothing when the text can be stored.
std::optional<FormFailure> checkFieldText(const FieldLimit& limit, std::string_view text);

// The same for control `controlId` of the table; nothing for a control without a limit.
std::optional<FormFailure> checkFieldText(int controlId, std::string_view text);

// Result of reading an amount ("Wert", "Kaufpreis"): the value or the failure.
struct AmountParse {
  float value = 0;
  CollectionMessage error = CollectionMessage::kNone;
  bool ok() const { return error == CollectionMessage::kNone; }
};

// Reads an amount as a collector types it: "12.50" or "12,50", blanks around
// it allowed, empty for 0. Refuses anything left over, more than one decimal
// mark, a sign, "nan"/"inf" (kInvalidAmount) and values beyond the f32 the
// record stores (kAmountTooLarge).
AmountParse parseAmount(std::string_view text);

}  // namespace kalvor
