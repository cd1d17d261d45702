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
    case CollectionMessage::kTextTooLong:
      return "Das Feld '%s' fasst h\xF6"
             "chstens %s Zeichen. Dieser Teil passt nicht mehr hinein: '%s'";
    case CollectionMessage::kLineBreak:
      return "Das Feld '%s' ist einzeilig und kann keinen Zeilenumbruch speichern (nach '%s').";
    case CollectionMessage::kUnknownMineral:
      return "Im Feld '%s' ist '%s' kein bekanntes Mineral.";
    case CollectionMessage::kInvalidAmount:
      return "Im Feld '%s' ist '%s' kein g\xFCltiger Betrag. Bitte geben Sie eine Zahl ab 0 ein, z.B. 12,50.";
    case CollectionMessage::kAmountTooLarge:
      return "Im Feld '%s' ist der Betrag '%s' zu gro\xDF, um gespeichert zu werden.";
    case CollectionMessage::kBadDate:
      return "Das Datum ist nicht g\xFCltig. Bitte geben Sie es als Tag.Monat.Jahr, Monat.Jahr oder Jahr ein "
             "(z.B. 25.03.1984, 08.1988 oder 1991), mit einem Jahr von 1 bis 65535.";
    case CollectionMessage::kNotRepresentable:
      return "Im Feld '%s' kann das Zeichen '%s' nicht gespeichert werden.";
    case CollectionMessage::kUnreadableHardness:
      return "Die H\xE4rte '%s' ist nicht lesbar. Geben Sie eine H\xE4rte (z.B. 7) oder einen "
             "H\xE4rtebereich (z.B. 4-6) ein.";
    case CollectionMessage::kUnreadableDensity:
      return "Die Dichte '%s' ist nicht lesbar. Geben Sie eine Dichte (z.B. 5.5) oder einen Dichtebereich "
             "(z.B. 3-6.5) ein.";
  }
  return {};
}

CollectionMessage collectionMessageCaption(CollectionMessage message) {
  switch (message) {
    case CollectionMessage::kBadMonth:
    case CollectionMessage::kNotLeapYear:
    case CollectionMessage::kTooManyDays:
    case CollectionMessage::kNoMineral:
    case CollectionMessage::kTextTooLong:
    case CollectionMessage::kLineBreak:
    case CollectionMessage::kUnknownMineral:
    case CollectionMessage::kInvalidAmount:
    case CollectionMessage::kAmountTooLarge:
    case CollectionMessage::kBadDate:
    case CollectionMessage::kNotRepresentable:
    case CollectionMessage::kUnreadableHardness:
    case CollectionMessage::kUnreadableDensity:
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
