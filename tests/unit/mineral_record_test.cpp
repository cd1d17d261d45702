#include "refdb/mineral_record.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

void putText(Bytes& b, std::size_t at, std::string_view text) {
  std::memcpy(b.data() + at, text.data(), text.size());
}

MineralRecord quarz() {
  MineralRecord r;
  r.setFlags(kMineralImaRecognised);
  r.setName("Quarz");
  r.setFormula("SiO_2");
  r.setHardness(14, 14);
  r.setDensity({2, 65}, {0, 0});
  const std::uint16_t colours[] = {1, 5};
  r.setColours(colours);
  const std::uint16_t streak[] = {3};
  r.setStreaks(streak);
  r.setCrystalSystems(0x0010);
  r.setFracture(0x0002);
  r.setTransparency(0x0003);
  r.setLustre(0x0004);
  r.setStrunz({4, 'D', 1, 0, 0});
  r.setHey({7, 8, 1});
  CrystalDataEntry c;
  c.classes = 1u << 17;
  c.z = 3;
  c.a0 = 4.5;
  c.c0 = 5.25;
  const CrystalDataEntry entries[] = {c};
  r.setCrystalData(entries);
  return r;
}

MineralDatabase databaseOf(const MineralFileWriter& w) {
  std::optional<MineralDatabase> db = MineralDatabase::fromBytes(w.indexFile(), w.recordFile());
  EXPECT_TRUE(db);
  return std::move(*db);
}

TEST(MineralRecordFormat, FullMineralGoldenBytes) {
  // Expected entry worked out from the layout: flag, 269-byte fixed part, one
  // 56-byte crystal-data entry, no English name (flag 0x40 not set).
  Bytes e(1 + 269 + 56, 0);
  e[0] = 0x01;
  putText(e, 1, "Quarz");
  putText(e, 41, "SiO_2");
  e[192] = 14;  // maximum hardness 7
  e[193] = 14;  // minimum hardness 7
  e[194] = 65;  // density hundredths
  e[195] = 2;   // density whole
  e[198] = 1;   // colour 1
  e[200] = 5;   // colour 5
  e[238] = 3;   // streak 3
  e[248] = 0x10;
  e[250] = 0x02;
  e[252] = 0x03;
  e[254] = 0x04;
  e[258] = 4;
  e[259] = 'D';
  e[260] = 1;
  e[264] = 7;
  e[265] = 8;
  e[266] = 1;
  e[268] = 1;    // one crystal-data entry
  e[272] = 0x02; // class bit 17 -> third byte of the u32
  e[275] = 3;    // Z
  // a0 = 4.5 = 0x4012000000000000, c0 = 5.25 = 0x4015000000000000, little-endian
  e[284] = 0x12;
  e[285] = 0x40;
  e[300] = 0x15;
  e[301] = 0x40;
  EXPECT_EQ(encodeMineralEntry(quarz()), e);

  // The same bytes sit at the same offsets of the in-memory record.
  const MineralRecord r = quarz();
  EXPECT_TRUE(std::equal(e.begin(), e.end(), r.bytes().begin()));

  // kalvor.mi for two entries: count 2, offsets 0 and 326 (0x146).
  MineralFileWriter w;
  w.add(quarz());
  w.add(quarz());
  EXPECT_EQ(w.indexFile(), (Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0x46, 0x01, 0, 0}));
  const MineralDatabase db = databaseOf(w);
  EXPECT_EQ(db.entryOffset(1), std::optional<std::uint32_t>(326));
  EXPECT_FALSE(db.entryOffset(2));
}

TEST(MineralRecordFormat, AliasGoldenBytes) {
  MineralRecord a;
  a.setName("Buntbleierz");
  a.setAliasTarget("Pyromorphit");
  Bytes e(1 + 40 + 2 + 11, 0);
  putText(e, 1, "Buntbleierz");
  e[41] = 11;
  putText(e, 43, "Pyromorphit");
  EXPECT_EQ(encodeMineralEntry(a), e);

  // With flag 0x40 the two English texts follow with their lengths.
  a.setFlags(kMineralEnglishNames);
  a.setEnglishAliasName("Lead ore");
  a.setEnglishAliasTarget("");
  Bytes e2 = e;
  e2[0] = 0x40;
  e2.insert(e2.end(), {8, 0, 'L', 'e', 'a', 'd', ' ', 'o', 'r', 'e', 0, 0});
  EXPECT_EQ(encodeMineralEntry(a), e2);
}

TEST(MineralRecordRead, FullMineralsAndEnglishNames) {
  MineralFileWriter w;
  w.add(quarz());
  MineralRecord gold;
  gold.setFlags(kMineralImaRecognised);
  gold.setName("Gold");
  w.add(gold);
  MineralRecord goldEn = gold;
  goldEn.setFlags(kMineralImaRecognised | kMineralEnglishNames);
  goldEn.setEnglishName("Gold");
  w.add(goldEn);
  MineralRecord apatit;
  apatit.setFlags(kMineralOtherStatus);
  apatit.setName("Apatit-(CaF)");
  w.add(apatit);
  MineralRecord kaem;
  kaem.setFlags(kMineralDiscredited);
  kaem.setName(cp("Kämmererit"));
  w.add(kaem);
  const MineralDatabase db = databaseOf(w);
  ASSERT_EQ(db.entryCount(), 5u);

  // Without flag 0x40 the English name is derived: Quarz -> Quarze.
  MineralRecord expected = quarz();
  expected.setEnglishName("Quarze");
  const MineralRecord q = db.readMineralRecord(0);
  EXPECT_EQ(q, expected);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(q.bytes().data() + 662)), "Quarze");
  EXPECT_TRUE(q.isFullMineral());
  EXPECT_EQ(q.hardnessMin(), 14);
  EXPECT_EQ(q.densityMin().gramsPerCm3(), 2.65);
  ASSERT_EQ(q.crystalData().size(), 1u);
  EXPECT_EQ(q.crystalData()[0].a0, 4.5);
  EXPECT_EQ(q.crystalData()[0].c0, 5.25);
  EXPECT_EQ(q.colours(), (std::vector<std::uint16_t>{1, 5}));
  EXPECT_EQ(q.streaks(), (std::vector<std::uint16_t>{3}));

  EXPECT_EQ(db.readMineralRecord(1).englishName(), "Golde");
  // Flag 0x40: the stored English name is kept as it is.
  EXPECT_EQ(db.readMineralRecord(2).englishName(), "Gold");
  EXPECT_EQ(db.readMineralRecord(2), goldEn);
  EXPECT_EQ(db.readMineralRecord(3).englishName(), "Apatite-(CaF)");
  EXPECT_EQ(db.readMineralRecord(4).englishName(), cp("Kämmererite"));
  EXPECT_EQ(db.readMineralFlags(3), kMineralOtherStatus);
}

TEST(MineralRecordRead, ValueCodings) {
  // Hardness (high, low) = (0x0B, 0x0B): 5.5; (0x06, 0x0B): 3.0 to 5.5.
  // Density (high, low) = (2, 65): 2.65 g/cm³.
  Bytes e(1 + 269, 0);
  e[0] = 0x02;
  putText(e, 1, "Testit");
  e[192] = 0x0B;
  e[193] = 0x0B;
  e[194] = 65;
  e[195] = 2;
  MineralFileWriter w;
  w.addRawEntry(e);
  e[193] = 0x06;
  e[196] = 80;
  e[197] = 2;
  w.addRawEntry(e);
  const MineralDatabase db = databaseOf(w);
  const MineralRecord a = db.readMineralRecord(0);
  EXPECT_EQ(a.hardnessMin() / 2.0, 5.5);
  EXPECT_EQ(a.hardnessMax() / 2.0, 5.5);
  EXPECT_EQ(a.densityMin(), (DensityValue{2, 65}));
  EXPECT_DOUBLE_EQ(a.densityMin().gramsPerCm3(), 2.65);
  EXPECT_FALSE(a.densityMax().isKnown());
  const MineralRecord b = db.readMineralRecord(1);
  EXPECT_EQ(b.hardnessMin() / 2.0, 3.0);
  EXPECT_EQ(b.hardnessMax() / 2.0, 5.5);
  EXPECT_DOUBLE_EQ(b.densityMax().gramsPerCm3(), 2.80);
}

TEST(MineralRecordRead, CrystalDataCountOutOfRange) {
  // Count 7: no crystal data; the bytes behind the fixed part are not taken as
  // crystal data. With flag 0x40 the English name is the next thing read.
  Bytes e(1 + 269 + 56, 0xEE);
  std::fill(e.begin(), e.begin() + 270, 0);
  e[0] = 0x01;
  putText(e, 1, "Siebenit");
  e[268] = 7;
  MineralFileWriter w;
  w.addRawEntry(e);
  Bytes withName = e;
  withName[0] = 0x41;
  std::fill(withName.begin() + 270, withName.end(), 0);
  putText(withName, 270, "Sevenite");
  w.addRawEntry(withName);
  e[268] = 255;
  w.addRawEntry(e);
  const MineralDatabase db = databaseOf(w);
  for (MineralNumber n : {0, 2}) {
    const MineralRecord r = db.readMineralRecord(n);
    EXPECT_TRUE(r.crystalData().empty());
    for (std::size_t i = 270; i < 662; ++i) ASSERT_EQ(r.bytes()[i], 0) << i;
    EXPECT_EQ(r.englishName(), "Siebenite");
  }
  const MineralRecord named = db.readMineralRecord(1);
  EXPECT_EQ(named.crystalDataCount(), 7);
  EXPECT_TRUE(named.crystalData().empty());
  EXPECT_EQ(named.englishName(), "Sevenite");
}

TEST(MineralRecordRead, AliasesAndTheirEnglishForms) {
  MineralFileWriter w;
  MineralRecord plain;
  plain.setName("Buntbleierz");
  plain.setAliasTarget("Pyromorphit");
  w.add(plain);
  MineralRecord en;
  en.setFlags(kMineralEnglishNames | refformat::kFlagUninterpreted20);
  en.setName("Buntbleierz");
  en.setAliasTarget("Pyromorphit");
  en.setEnglishAliasName("Lead ore");
  w.add(en);
  MineralRecord sentence;
  sentence.setName("Gelbbleierz");
  sentence.setAliasTarget("Alter Name des @Wulfenit@");
  w.add(sentence);
  const MineralDatabase db = databaseOf(w);

  const MineralRecord a = db.readMineralRecord(0);
  EXPECT_FALSE(a.isFullMineral());
  EXPECT_EQ(a.flags(), 0);
  EXPECT_EQ(a.name(), "Buntbleierz");
  EXPECT_EQ(a.aliasTarget(), "Pyromorphit");
  EXPECT_EQ(a.englishAliasName(), "Buntbleierze");
  EXPECT_EQ(a.englishAliasTarget(), "Pyromorphite");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(a.bytes().data() + 882)), "Pyromorphite");

  // The flag byte of an alias comes back as 0; the stored English alias name is
  // kept, the empty English target is derived.
  EXPECT_EQ(db.readMineralFlags(1), 0x60);
  const MineralRecord b = db.readMineralRecord(1);
  EXPECT_EQ(b.flags(), 0);
  EXPECT_EQ(b.englishAliasName(), "Lead ore");
  EXPECT_EQ(b.englishAliasTarget(), "Pyromorphite");

  // The rule knows no sentences: the "e" goes to the end of the whole text.
  EXPECT_EQ(db.readMineralRecord(2).englishAliasTarget(), "Alter Name des @Wulfenit@e");
}

TEST(MineralRecordRead, EndMarkerAndLastEntry) {
  MineralFileWriter w;
  w.add(quarz());
  MineralRecord last;
  last.setFlags(kMineralNotImaRecognised);
  last.setName("Zirkon");
  w.add(last);
  const MineralDatabase db = databaseOf(w);
  EXPECT_EQ(db.readMineralRecord(1).name(), "Zirkon");
  EXPECT_EQ(db.readMineralFlags(1), kMineralNotImaRecognised);
  for (MineralNumber n : {MineralNumber{2}, MineralNumber{0xFFFF}}) {
    EXPECT_EQ(db.readMineralFlags(n), 0x80);
    const MineralRecord end = db.readMineralRecord(n);
    EXPECT_EQ(end.bytes()[0], 0x80);
    EXPECT_TRUE(std::all_of(end.bytes().begin() + 1, end.bytes().end(), [](auto b) { return b == 0; }));
    EXPECT_TRUE(end.isNoEntry());
  }
}

TEST(MineralRecordRead, DamagedFilesStayInBounds) {
  MineralFileWriter w;
  w.add(quarz());
  Bytes shortFull = encodeMineralEntry(quarz());
  shortFull.resize(100);  // cut inside the formula
  Bytes index = w.indexFile();

  // Alias with texts longer than their fields and flag 0x40.
  ByteWriter alias;
  alias.u8(0x40);
  alias.fixedText("Langer Name", 40);
  alias.u16(1000);
  alias.bytes(std::string(1000, 'a'));
  alias.u16(50);
  alias.bytes(std::string(50, 'b'));
  alias.u16(900);
  alias.bytes(std::string(900, 'c'));
  w.addRawEntry(alias.data());
  // Alias whose exactly 800-byte target gets its "e" in the 802-byte field.
  ByteWriter fits;
  fits.u8(0);
  fits.fixedText("Voll", 40);
  fits.u16(800);
  fits.bytes(std::string(800, 'd'));
  w.addRawEntry(fits.data());
  w.addRawEntry(shortFull);  // last: the file ends inside it

  Bytes mi = w.indexFile();
  // Add one entry whose offset lies far past the end of kalvor.db.
  mi[0] = 5;
  mi.insert(mi.end(), {0xFF, 0xFF, 0xFF, 0x7F});
  std::optional<MineralDatabase> db = MineralDatabase::fromBytes(mi, w.recordFile());
  ASSERT_TRUE(db);

  const MineralRecord longAlias = db->readMineralRecord(1);
  EXPECT_EQ(longAlias.aliasTarget(), std::string(800, 'a'));
  EXPECT_EQ(longAlias.englishAliasName(), std::string(39, 'b'));
  EXPECT_EQ(longAlias.englishAliasTarget(), std::string(801, 'c'));
  EXPECT_EQ(longAlias.bytes()[841], 0);
  EXPECT_EQ(longAlias.bytes()[881], 0);
  EXPECT_EQ(longAlias.bytes()[1683], 0);

  EXPECT_EQ(db->readMineralRecord(2).englishAliasTarget(), std::string(800, 'd') + "e");

  const MineralRecord cut = db->readMineralRecord(3);
  EXPECT_EQ(cut.name(), "Quarz");
  EXPECT_EQ(cut.formula(), "SiO_2");
  EXPECT_EQ(cut.hardnessMin(), 0);  // behind the end: zero
  EXPECT_TRUE(cut.crystalData().empty());

  EXPECT_EQ(db->readMineralFlags(4), 0);
  EXPECT_EQ(db->readMineralRecord(4), MineralRecord());

  // An alias whose stated length runs past the end of the file.
  ByteWriter runsOff;
  runsOff.u8(0);
  runsOff.fixedText("Kurz", 40);
  runsOff.u16(500);
  runsOff.bytes("Abc");
  MineralFileWriter w2;
  w2.addRawEntry(runsOff.data());
  const MineralRecord cutAlias = databaseOf(w2).readMineralRecord(0);
  EXPECT_EQ(cutAlias.aliasTarget(), "Abc");
  EXPECT_EQ(cutAlias.englishAliasTarget(), "Abce");

  // kalvor.mi itself damaged: too short for its count, absurd count, no count.
  Bytes shortIndex = index;
  shortIndex.pop_back();
  EXPECT_FALSE(MineralDatabase::fromBytes(shortIndex, w.recordFile()));
  EXPECT_FALSE(MineralDatabase::fromBytes(Bytes{0x70, 0x11, 0x01, 0x00}, w.recordFile()));
  EXPECT_FALSE(MineralDatabase::fromBytes(Bytes{1, 0}, w.recordFile()));
  // An empty database is valid and has only the end marker.
  std::optional<MineralDatabase> empty = MineralDatabase::fromBytes(Bytes{0, 0, 0, 0}, {});
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->readMineralFlags(0), 0x80);
}

TEST(MineralRecordFiles, WriterReaderRoundTripThroughFolder) {
  std::vector<MineralRecord> records;
  for (int i = 0; i < 40; ++i) {
    MineralRecord r;
    if (i % 3 == 2) {
      r.setFlags(i % 2 ? kMineralEnglishNames : 0);
      r.setName("Alias" + std::to_string(i));
      r.setAliasTarget("Ziel" + std::to_string(i));
      if (i % 2) r.setEnglishAliasName("Alias name " + std::to_string(i));
    } else {
      r.setFlags(static_cast<std::uint8_t>((i % 2 ? kMineralEnglishNames : 0) |
                                           (i % 4 < 2 ? kMineralImaRecognised : kMineralDiscredited)));
      r.setName("Mineral" + std::to_string(i));
      r.setFormula("Ca_" + std::to_string(i) + "(PO_4)");
      r.setHardness(static_cast<std::uint8_t>(i % 20), static_cast<std::uint8_t>(i % 20 + 1));
      r.setLustre(static_cast<std::uint16_t>(0x800 >> (i % 12)));
      std::vector<CrystalDataEntry> crystals(static_cast<std::size_t>(i % 7));
      for (std::size_t k = 0; k < crystals.size(); ++k) {
        crystals[k].classes = 1u << (k + static_cast<std::size_t>(i) % 20);
        crystals[k].a0 = 1.25 * static_cast<double>(k + 1);
        crystals[k].gamma = 120.0;
        crystals[k].spare7 = 0x5A;
      }
      r.setCrystalData(crystals);
      if (i % 2) r.setEnglishName("Mineral-e " + std::to_string(i));
    }
    records.push_back(r);
  }
  testing::ScratchDir dir;
  MineralFileWriter w;
  for (const MineralRecord& r : records) ASSERT_TRUE(w.add(r));
  ASSERT_TRUE(w.writeTo(dir.path()));
  EXPECT_EQ(testing::readFile(dir.file("kalvor.mi")), w.indexFile());
  std::optional<MineralDatabase> db = MineralDatabase::open(dir.path());
  ASSERT_TRUE(db);
  ASSERT_EQ(db->entryCount(), records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    MineralRecord expected = records[i];
    if (expected.isFullMineral()) {
      if (!(expected.flags() & kMineralEnglishNames)) expected.setEnglishName(englishNameOf(expected.name()));
    } else {
      expected.setFlags(0);
      if (expected.englishAliasName().empty()) expected.setEnglishAliasName(englishNameOf(expected.name()));
      expected.setEnglishAliasTarget(englishNameOf(expected.aliasTarget()));
    }
    EXPECT_EQ(db->readMineralFlags(static_cast<MineralNumber>(i)), records[i].flags());
    EXPECT_EQ(db->readMineralRecord(static_cast<MineralNumber>(i)), expected);
  }
  EXPECT_FALSE(MineralDatabase::open(dir.file("nirgends")));
}

TEST(MineralRecordNames, EnglishNameOf) {
  EXPECT_EQ(englishNameOf("Pyromorphit"), "Pyromorphite");
  EXPECT_EQ(englishNameOf("Quarz"), "Quarze");
  EXPECT_EQ(englishNameOf("Apatit-(CaF)"), "Apatite-(CaF)");
  EXPECT_EQ(englishNameOf("Monazit-(Ce)-Gruppe"), "Monazite-(Ce)-Gruppe");
  EXPECT_EQ(englishNameOf(""), "");
}

}  // namespace
}  // namespace kalvor
