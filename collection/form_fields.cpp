#include "collection/form_fields.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "refdb/strings.h"

namespace kalvor {
namespace {

namespace fc = field_controls;
namespace fl = field_limits;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string textOfId(int id) {
  if (id == 0) return {};
  if (id >= static_cast<int>(kStringIdBase) && id < static_cast<int>(kStringIdBase) + 120)
    return loadResourceString(static_cast<unsigned>(id) - kStringIdBase);
  return collectionMessageText(static_cast<CollectionMessage>(id));
}

}  // namespace

const std::vector<FieldLimit>& fieldLimitTable() {
  static const std::vector<FieldLimit> table = {
      {fc::kLocalityName, "Fundort", fl::kLocalityText, true},
      {fc::kLocalityNearestPlace,
       "N\xE4"
       "chster Ort",
       fl::kLocalityText, true},
      {fc::kLocalityRegion, "Region", fl::kLocalityText, true},
      {fc::kLocalityCountry, "Land", fl::kLocalityText, true},
      {fc::kLocalityMapReference, "Kartenreferenz", fl::kLocalityText, true},
      {fc::kLocalityDescription, "Beschreibung", fl::kDescription, false},
      {fc::kSpecimenIndex, "Index", fl::kSpecimenIndex, true},
      {fc::kSpecimenStoragePlace, "Standort", fl::kStoragePlace, true},
      {fc::kSpecimenSize,
       "Stufengr\xF6\xDF"
       "e",
       fl::kSpecimenSize, true},
      {fc::kSpecimenDescription, "Beschreibung", fl::kDescription, false},
      {fc::kSearchNearestPlace,
       "n\xE4"
       "chster Ort",
       fl::kLocalityText, true},
      {fc::kSearchStoragePlace, "Standort", fl::kStoragePlace, true},
      {fc::kSearchIndex, "Index", fl::kSpecimenIndex, true},
  };
  return table;
}

const FieldLimit* fieldLimitOf(int controlId) {
  for (const FieldLimit& limit : fieldLimitTable())
    if (limit.controlId == controlId) return &limit;
  return nullptr;
}

FormFailure formFailure(CollectionMessage message, int controlId, std::vector<std::string> inserts) {
  FormFailure f;
  f.messageId = static_cast<int>(message);
  f.captionId = static_cast<int>(collectionMessageCaption(message));
  f.controlId = controlId;
  f.inserts = std::move(inserts);
  return f;
}

std::string formFailureText(const FormFailure& failure) {
  std::string text = textOfId(failure.messageId);
  std::size_t from = 0;
  for (const std::string& insert : failure.inserts) {
    const std::size_t at = text.find("%s", from);
    if (at == std::string::npos) break;
    text.replace(at, 2, insert);
    from = at + insert.size();
  }
  return text;
}

std::string formFailureCaption(const FormFailure& failure) { return textOfId(failure.captionId); }

std::optional<FormFailure> checkFieldText(const FieldLimit& limit, std::string_view text) {
  if (limit.oneLine) {
    const std::size_t brk = text.find_first_of("\r\n");
    if (brk != std::string_view::npos) {
      FormFailure f = formFailure(CollectionMessage::kLineBreak, limit.controlId,
                                  {limit.name, std::string(text.substr(0, brk))});
      f.selectionBegin = brk;
      f.selectionEnd = text.size();
      return f;
    }
  }
  if (text.size() > limit.maxChars) {
    FormFailure f =
        formFailure(CollectionMessage::kTextTooLong, limit.controlId,
                    {limit.name, std::to_string(limit.maxChars), std::string(text.substr(limit.maxChars))});
    f.selectionBegin = limit.maxChars;
    f.selectionEnd = text.size();
    return f;
  }
  return std::nullopt;
}

std::optional<FormFailure> checkFieldText(int controlId, std::string_view text) {
  const FieldLimit* limit = fieldLimitOf(controlId);
  if (limit == nullptr) return std::nullopt;
  return checkFieldText(*limit, text);
}

AmountParse parseAmount(std::string_view text) {
  AmountParse out;
  const std::string_view t = trimmed(text);
  if (t.empty()) return out;
  std::string number(t);
  std::size_t marks = 0;
  for (char& c : number) {
    if (c == ',') c = '.';
    if (c == '.') ++marks;
    // Only digits and one decimal mark: no sign, exponent, "nan" or "inf".
    if (c != '.' && (c < '0' || c > '9')) {
      out.error = CollectionMessage::kInvalidAmount;
      return out;
    }
  }
  if (marks > 1 || number == ".") {
    out.error = CollectionMessage::kInvalidAmount;
    return out;
  }
  double v = 0;
  const auto [end, ec] =
      std::from_chars(number.data(), number.data() + number.size(), v, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && !std::isfinite(v))) {
    out.error = CollectionMessage::kAmountTooLarge;
    return out;
  }
  if (ec != std::errc() || end != number.data() + number.size()) {
    out.error = CollectionMessage::kInvalidAmount;
    return out;
  }
  if (v > static_cast<double>(std::numeric_limits<float>::max())) {
    out.error = CollectionMessage::kAmountTooLarge;
    return out;
  }
  out.value = static_cast<float>(v);
  return out;
}

}  // namespace kalvor
