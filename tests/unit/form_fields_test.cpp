#include "collection/form_fields.h"

#include <gtest/gtest.h>

#include <cstring>

#include "collection/locality.h"
#include "collection/locality_form.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;
namespace fc = field_controls;
namespace lf = locality_format;
namespace sf = specimen_format;

TEST(FieldLimits, AreWhatTheRecordsStore) {
  // Every limit is the stored width less its zero: a text of that length
  // survives a write and a read unchanged, one more character would not.
  const auto limit = [](int control) { return fieldLimitOf(control)->maxChars; };
  for (int control : {fc::kLocalityName, fc::kLocalityNearestPlace, fc::kLocalityRegion, fc::kLocalityCountry,
                      fc::kLocalityMapReference, fc::kSearchNearestPlace})
    EXPECT_EQ(limit(control), lf::kTextFieldBytes - 1) << control;
  EXPECT_EQ(limit(fc::kSpecimenIndex), sf::kIndexBytes - 1);
  EXPECT_EQ(limit(fc::kSearchIndex), sf::kIndexBytes - 1);
  EXPECT_EQ(limit(fc::kSpecimenStoragePlace), sf::kStorageBytes - 1);
  EXPECT_EQ(limit(fc::kSearchStoragePlace), sf::kStorageBytes - 1);
  EXPECT_EQ(limit(fc::kSpecimenSize), sf::kSizeBytes - 1);
  EXPECT_EQ(limit(fc::kLocalityDescription), 32766u);
  EXPECT_EQ(limit(fc::kSpecimenDescription), 32766u);
  EXPECT_EQ(fieldLimitOf(fc::kSpecimenDate), nullptr);

  Locality loc;
  loc.name = std::string(39, 'N');
  loc.mapReference = std::string(39, 'K');
  loc.description = std::string(32766, 'b');
  const Bytes bytes = encodeLocality(loc);
  const std::optional<Locality> back = decodeLocality(bytes, false);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->name, loc.name);
  EXPECT_EQ(back->mapReference, loc.mapReference);
  EXPECT_EQ(back->description.size(), 32766u);
  EXPECT_FALSE(checkLocalityFields(loc));
}

TEST(FieldLimits, TooLongAndLineBreaksAreRefusedWithTheFieldNamed) {
  std::optional<FormFailure> f = checkFieldText(fc::kSpecimenSize, "12 x 8 x 5 cm, schwer!");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->controlId, fc::kSpecimenSize);
  EXPECT_EQ(f->selectionBegin, 19u);
  EXPECT_EQ(f->selectionEnd, 22u);
  EXPECT_EQ(formFailureText(*f),
            cp("Das Feld 'Stufengröße' fasst höchstens 19 Zeichen. Dieser Teil passt nicht mehr "
               "hinein: 'er!'"));
  EXPECT_EQ(formFailureCaption(*f), "Eingabefehler");
  EXPECT_FALSE(checkFieldText(fc::kSpecimenSize, std::string(19, 'x')));

  f = checkFieldText(fc::kLocalityName, "Grube\nClara");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->selectionBegin, 5u);
  EXPECT_EQ(formFailureText(*f),
            "Das Feld 'Fundort' ist einzeilig und kann keinen Zeilenumbruch speichern (nach 'Grube').");
  // The descriptions are many lines long.
  EXPECT_FALSE(checkFieldText(fc::kLocalityDescription, "Zeile 1\r\nZeile 2"));
  EXPECT_TRUE(checkFieldText(fc::kLocalityDescription, std::string(32767, 'b')));
  EXPECT_FALSE(checkFieldText(fc::kSpecimenDate, std::string(500, '1')));  // no limit of its own
}

TEST(Amounts, DecimalCommaAndEverythingThatCannotBeStoredIsRefused) {
  EXPECT_FLOAT_EQ(parseAmount("12,50").value, 12.5f);
  EXPECT_FLOAT_EQ(parseAmount("12.50").value, 12.5f);
  EXPECT_FLOAT_EQ(parseAmount(" 3,75 ").value, 3.75f);
  EXPECT_FLOAT_EQ(parseAmount("   12.50").value, 12.5f);  // as "%7.2f" shows it
  EXPECT_FLOAT_EQ(parseAmount(",5").value, 0.5f);
  EXPECT_TRUE(parseAmount("").ok());
  EXPECT_EQ(parseAmount("").value, 0.f);
  for (const char* bad :
       {"abc", "12,50 EUR", "1,234.5", "-3", "+3", "nan", "inf", "1e40", ".", "0x10", "12 50"}) {
    EXPECT_EQ(parseAmount(bad).error, CollectionMessage::kInvalidAmount) << bad;
  }
  EXPECT_EQ(parseAmount(std::string(40, '9')).error, CollectionMessage::kAmountTooLarge);
  EXPECT_TRUE(parseAmount("340282346638528859811704183484516925440").ok());  // FLT_MAX itself
  EXPECT_EQ(parseAmount("340282366920938463463374607431768211456").error,
            CollectionMessage::kAmountTooLarge);  // 2^128
}

TEST(SpecimenFormChecks, PricesAndTextsAreRefusedNotCut) {
  CollectionFixture f;
  SpecimenFormFields fields;
  fields.localityItem = 0;
  fields.mainMinerals = "Quarz";
  fields.acquisition = Acquisition::kBought;
  fields.value = "12,50";
  fields.purchasePrice = "3,75";
  FormResult r = collectAndSaveSpecimen(f.c(), fields, 0);
  ASSERT_EQ(r.status, FormStatus::kSaved);
  EXPECT_FLOAT_EQ(readSpecimen(f.c(), 1)->value, 12.5f);
  EXPECT_FLOAT_EQ(readSpecimen(f.c(), 1)->purchasePrice, 3.75f);

  const auto refused = [&](const SpecimenFormFields& in) {
    const FormResult out = collectAndSaveSpecimen(f.c(), in, 0);
    EXPECT_EQ(f.c().specimenCount(), 1u);
    return out;
  };
  SpecimenFormFields bad = fields;
  bad.value = "nan";
  r = refused(bad);
  EXPECT_EQ(r.status, FormStatus::kError);
  EXPECT_EQ(r.failure.controlId, fc::kSpecimenValue);
  EXPECT_EQ(formFailureText(r.failure),
            cp("Im Feld 'Wert' ist 'nan' kein gültiger Betrag. Bitte geben Sie eine Zahl ab 0 ein, "
               "z.B. 12,50."));
  bad = fields;
  bad.purchasePrice = std::string(50, '9');
  r = refused(bad);
  EXPECT_EQ(r.message, CollectionMessage::kAmountTooLarge);
  EXPECT_EQ(r.failure.controlId, fc::kSpecimenPurchasePrice);
  // A found piece has no purchase price: its field is not read.
  bad.acquisition = Acquisition::kFound;
  EXPECT_EQ(collectSpecimen(f.c(), bad, 0).status, FormStatus::kCollected);

  bad = fields;
  bad.index = std::string(40, 'I');
  r = refused(bad);
  EXPECT_EQ(r.message, CollectionMessage::kTextTooLong);
  EXPECT_EQ(r.failure.controlId, fc::kSpecimenIndex);
  bad = fields;
  bad.storagePlace = "Schrank 1\nFach 2";
  EXPECT_EQ(refused(bad).failure.controlId, fc::kSpecimenStoragePlace);
  bad = fields;
  bad.size = std::string(20, 'g');
  EXPECT_EQ(refused(bad).failure.controlId, fc::kSpecimenSize);
  bad = fields;
  bad.description = std::string(32767, 'd');
  EXPECT_EQ(refused(bad).failure.controlId, fc::kSpecimenDescription);

  // A name that is no mineral is refused with its piece marked, in either field.
  bad = fields;
  bad.mainMinerals = "Quarz,  Zirkon , Calcit";
  r = refused(bad);
  EXPECT_EQ(r.message, CollectionMessage::kUnknownMineral);
  EXPECT_EQ(r.failure.controlId, fc::kSpecimenMainMinerals);
  EXPECT_EQ(r.failure.selectionBegin, 8u);
  EXPECT_EQ(r.failure.selectionEnd, 14u);
  EXPECT_EQ(formFailureText(r.failure), "Im Feld 'Minerale' ist 'Zirkon' kein bekanntes Mineral.");
  bad = fields;
  bad.accompanyingMinerals = "Calcit, Xyz";
  EXPECT_EQ(refused(bad).failure.controlId, fc::kSpecimenAccompanying);
  // Full-length texts are stored whole.
  fields.index = std::string(39, 'I');
  fields.storagePlace = std::string(79, 'S');
  fields.size = std::string(19, 'g');
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 0).status, FormStatus::kSaved);
  const std::optional<Specimen> s = readSpecimen(f.c(), 2);
  EXPECT_EQ(s->index, fields.index);
  EXPECT_EQ(s->storagePlace, fields.storagePlace);
  EXPECT_EQ(s->size, fields.size);
}

TEST(SpecimenFormChecks, SavedIndexTextLongerThanTheFieldIsCut) {
  CollectionFixture f;
  f.settings().writeString("Sammlung", "Index", std::string(40, 'A'));
  EXPECT_EQ(newSpecimenFields(f.c()).index, std::string(39, 'A'));
  f.settings().writeString("Sammlung", "Index", std::string(39, 'B'));
  EXPECT_EQ(newSpecimenFields(f.c()).index, std::string(39, 'B'));
  f.settings().writeString("Sammlung", "Index", std::string(100, 'C'));
  EXPECT_EQ(newSpecimenFields(f.c()).index, std::string(39, 'C'));
}

}  // namespace
}  // namespace kalvor
