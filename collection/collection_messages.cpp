// Texts of the collection's messages, Windows-1252 (umlauts as \x escapes).
#include "collection/collection_messages.h"

namespace kalvor {

std::string collectionMessageText(CollectionMessage message) {
  switch (message) {
    case CollectionMessage::kNone:
      return {};
    case CollectionMessage::kUnknownLocality:
      return "unbekannt";  // unbekannt
    case CollectionMessage::kInputErrorCaption:
      return "Eingabefehler";  // Eingabefehler
    case CollectionMessage::kBadMonth:
      return "Der im Datum angegebene Monat ist nicht g\xFCltig.";  // Der im Datum angegebene Monat ist nicht gültig.
    case CollectionMessage::kNotLeapYear:
      return "Das im Datum angegebene Jahr ist kein Schaltjahr. Daher gibt es in diesem Jahr keinen 29. Februar.";  // Das im Datum angegebene Jahr ist kein Schaltjahr. Daher gibt
    case CollectionMessage::kTooManyDays:
      return "Der im Datum angegebene Monat hat nicht so viele Tage.";  // Der im Datum angegebene Monat hat nicht so viele Tage.
    case CollectionMessage::kProcessingSpecimen:
      return "Bearbeite Stufe %ld/%ld";  // Bearbeite Stufe %ld/%ld
    case CollectionMessage::kDeleteSpecimenQuestion:
      return "Wollen Sie die angew\xE4hlte Stufe wirklich l\xF6schen?";  // Wollen Sie die angewählte Stufe wirklich löschen?
    case CollectionMessage::kDeleteSpecimenCaption:
      return "Stufe l\xF6schen";  // Stufe löschen
    case CollectionMessage::kNoMineral:
      return "Sie haben kein Mineral f\xFCr diese Stufe eingegeben, oder die Eingabe ist fehlerhaft.";  // Sie haben kein Mineral für diese Stufe eingegeben, oder die 
    case CollectionMessage::kSaveFailed:
      return "Beim Speichern Ihrer Daten trat ein nicht behebbarer Fehler auf, h\xF6" "chstwahrscheinlich ist Ihre Festplatte voll.";  // Beim Speichern Ihrer Daten trat ein nicht behebbarer Fehler 
    case CollectionMessage::kSaveFailedCaption:
      return "Speicherungsproblem";  // Speicherungsproblem
    case CollectionMessage::kNoNewLocality:
      return "Sie haben keinen neuen Fundort erfasst. Wollen Sie die Stufe mit dem Fundort 'unbekannt' speichern? Wenn nicht, w\xE4hlen Sie bitte einen Fundort aus der Fundortliste aus.";  // Sie haben keinen neuen Fundort erfasst. Wollen Sie die Stufe
    case CollectionMessage::kIncompleteInputCaption:
      return "Unvollst\xE4ndige Eingabe";  // Unvollständige Eingabe
    case CollectionMessage::kMineralOnSpecimen:
      return "Sie k\xF6nnen kein Mineral aus dieser Liste l\xF6schen, das sich auf einer der in der Sammlung befindlichen Stufen befindet.";  // Sie können kein Mineral aus dieser Liste löschen, das sich a
    case CollectionMessage::kListConsistencyCaption:
      return "Listenkonsistenz";  // Listenkonsistenz
    case CollectionMessage::kProcessingLocality:
      return "Bearbeite Fundstelle %ld/%ld";  // Bearbeite Fundstelle %ld/%ld
    case CollectionMessage::kDeleteLocalityCaption:
      return "Fundort l\xF6schen";  // Fundort löschen
    case CollectionMessage::kReplaceLocalityQuestion:
      return "Wollen Sie den Fundort\n %s\nwirklich durch den Fundort\n %s\n ersetzen?";  // Wollen Sie den Fundort
    case CollectionMessage::kDeleteLocalityWithSpecimensQuestion:
      return "Wollen Sie den Fundort mit allen seinen Stufen wirklich l\xF6schen?";  // Wollen Sie den Fundort mit allen seinen Stufen wirklich lösc
    case CollectionMessage::kNewLocalityEntry:
      return "neue Fundstelle";  // neue Fundstelle
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
    case CollectionMessage::kDeleteSpecimenQuestion:
      return CollectionMessage::kDeleteSpecimenCaption;
    default:
      return CollectionMessage::kNone;
  }
}

}  // namespace kalvor
