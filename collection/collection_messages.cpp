// Texts of the collection's messages, Windows-1252 (umlauts as \x escapes):
// the string table's own, and the texts of the entry and delete dialogs.
#include "collection/collection_messages.h"

#include "refdb/strings.h"

namespace kalvor {

std::string collectionMessageText(CollectionMessage message) {
  switch (message) {
    case CollectionMessage::kNone:
      return {};
    case CollectionMessage::kUnknownLocality:
    case CollectionMessage::kInputErrorCaption:
    case CollectionMessage::kBadMonth:
    case CollectionMessage::kNotLeapYear:
    case CollectionMessage::kTooManyDays:
    case CollectionMessage::kProcessingSpecimen:
    case CollectionMessage::kDeleteSpecimenQuestion:
    case CollectionMessage::kDeleteSpecimenCaption:
      return loadResourceString(static_cast<unsigned>(message) - kStringIdBase);
    case CollectionMessage::kNoMineral:
      return "Sie haben kein Mineral f\xFCr diese Stufe eingegeben, oder die Eingabe ist fehlerhaft.";
    case CollectionMessage::kSaveFailed:
      return "Beim Speichern Ihrer Daten trat ein nicht behebbarer Fehler auf, h\xF6" "chstwahrscheinlich ist Ihre Festplatte voll.";
    case CollectionMessage::kSaveFailedCaption:
      return "Speicherungsproblem";
    case CollectionMessage::kNoNewLocality:
      return "Sie haben keinen neuen Fundort erfasst. Wollen Sie die Stufe mit dem Fundort 'unbekannt' speichern? Wenn nicht, w\xE4hlen Sie bitte einen Fundort aus der Fundortliste aus.";
    case CollectionMessage::kIncompleteInputCaption:
      return "Unvollst\xE4ndige Eingabe";
    case CollectionMessage::kMineralOnSpecimen:
      return "Sie k\xF6nnen kein Mineral aus dieser Liste l\xF6schen, das sich auf einer der in der Sammlung befindlichen Stufen befindet.";
    case CollectionMessage::kListConsistencyCaption:
      return "Listenkonsistenz";
    case CollectionMessage::kProcessingLocality:
      return "Bearbeite Fundstelle %ld/%ld";
    case CollectionMessage::kDeleteLocalityCaption:
      return "Fundort l\xF6schen";
    case CollectionMessage::kReplaceLocalityQuestion:
      return "Wollen Sie den Fundort\n %s\nwirklich durch den Fundort\n %s\n ersetzen?";
    case CollectionMessage::kDeleteLocalityWithSpecimensQuestion:
      return "Wollen Sie den Fundort mit allen seinen Stufen wirklich l\xF6schen?";
    case CollectionMessage::kNewLocalityEntry:
      return "neue Fundstelle";
  }
  return {};
}

CollectionMessage collectionMessageCaption(CollectionMessage message) {
  switch (message) {
    case CollectionMessage::kBadMonth:
    case CollectionMessage::kNotLeapYear:
    case CollectionMessage::kTooManyDays:
    case CollectionMessage::kNoMineral:
      return CollectionMessage::kInputErrorCaption;
    case CollectionMessage::kSaveFailed:
      return CollectionMessage::kSaveFailedCaption;
    case CollectionMessage::kNoNewLocality:
      return CollectionMessage::kIncompleteInputCaption;
    case CollectionMessage::kMineralOnSpecimen:
      return CollectionMessage::kListConsistencyCaption;
    case CollectionMessage::kReplaceLocalityQuestion:
    case CollectionMessage::kDeleteLocalityWithSpecimensQuestion:
      return CollectionMessage::kDeleteLocalityCaption;
    default:
      return CollectionMessage::kNone;
  }
}

}  // namespace kalvor
