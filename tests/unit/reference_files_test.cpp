#include <gtest/gtest.h>

#include <random>

#include "base/file_io.h"
#include "refdb/drawing_blocks.h"
#include "refdb/glossary.h"
#include "refdb/lzw.h"
#include "refdb/picture_file.h"
#include "refdb/picture_list.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

Bytes withText(Bytes b, std::size_t at, std::string_view text) {
  std::copy(text.begin(), text.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
  return b;
}

// ---------------------------------------------------------------- kalvor.gl

TEST(GlossaryFile, GoldenBytesAndRoundTrip) {
  const std::vector<std::string> entries = {"Abc", cp("Säure")};
  // u16 count 2, offsets 10 and 15, then length-prefixed texts (ä = 0xE4).
  const Bytes expected = {0x02, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x03, 0x00,
                          'A',  'b',  'c',  0x05, 0x00, 'S',  0xE4, 'u',  'r',  'e'};
  const Bytes file = buildGlossaryFile(entries);
  EXPECT_EQ(file, expected);

  testing::ScratchDir dir;
  ASSERT_TRUE(writeWholeFile(dir.file("kalvor.gl"), file));
  std::optional<Glossary> g = Glossary::open(dir.path());
  ASSERT_TRUE(g);
  EXPECT_EQ(g->entryCount(), 2);
  EXPECT_EQ(g->entry(0), std::optional<std::string>("Abc"));
  EXPECT_EQ(g->entry(1), std::optional<std::string>(cp("Säure")));
  EXPECT_FALSE(g->entry(2));
  EXPECT_FALSE(Glossary::open(dir.file("fehlt")));

  // Many entries, empty ones included.
  std::vector<std::string> many;
  for (int i = 0; i < 300; ++i) many.push_back(std::string(static_cast<std::size_t>(i % 17), 'x') + std::to_string(i));
  many[5].clear();
  std::optional<Glossary> big = Glossary::fromBytes(buildGlossaryFile(many));
  ASSERT_TRUE(big);
  for (std::size_t i = 0; i < many.size(); ++i)
    ASSERT_EQ(big->entry(static_cast<std::uint16_t>(i)), std::optional<std::string>(many[i])) << i;
}

TEST(GlossaryFile, TermsAreFoundByTheirWholeName) {
  const std::vector<std::string> entries = {"#Habitus# Die äußere Gestalt", "ohne Begriff", "#Zwilling offen",
                                            "#Zwilling# Verwachsung", "#Habit#kurz", "##leer"};
  const std::optional<Glossary> g = Glossary::fromBytes(buildGlossaryFile(entries));
  ASSERT_TRUE(g);
  EXPECT_EQ(g->findTerm("Habitus"), std::optional<std::uint16_t>(0));
  // A prefix is not the term; an entry without its closing "#" names none.
  EXPECT_EQ(g->findTerm("Habit"), std::optional<std::uint16_t>(4));
  EXPECT_EQ(g->findTerm("Zwilling"), std::optional<std::uint16_t>(3));
  EXPECT_EQ(g->findTerm(""), std::optional<std::uint16_t>(5));
  EXPECT_FALSE(g->findTerm("Gestalt"));
  EXPECT_FALSE(g->findTerm("habitus"));
}

TEST(GlossaryFile, DamagedEntriesStayInBounds) {
  const std::vector<std::string> entries = {"Erstes", "Zweites", "Drittes"};
  const Bytes good = buildGlossaryFile(entries);

  Bytes offsetPast = good;
  storeU32(offsetPast.data() + 2 + 4, 0x7FFFFFF0);  // entry 1 points far past the end
  std::optional<Glossary> g = Glossary::fromBytes(offsetPast);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->entry(0), std::optional<std::string>("Erstes"));
  EXPECT_FALSE(g->entry(1));

  Bytes lengthPast = good;
  storeU16(lengthPast.data() + loadU32(lengthPast.data() + 2 + 8), 5000);  // last entry too long
  g = Glossary::fromBytes(lengthPast);
  EXPECT_EQ(g->entry(2), std::optional<std::string>("Drittes"));

  Bytes withNul = good;
  withNul[loadU32(withNul.data() + 2) + 2 + 3] = 0;  // "Ers\0tes"
  EXPECT_EQ(Glossary::fromBytes(withNul)->entry(0), std::optional<std::string>("Ers"));

  // Count larger than the table: the missing slots give nothing.
  Bytes bigCount = good;
  storeU16(bigCount.data(), 0xFFFF);
  g = Glossary::fromBytes(bigCount);
  EXPECT_EQ(g->entryCount(), 0xFFFF);
  EXPECT_FALSE(g->entry(0xFFFE));

  EXPECT_FALSE(Glossary::fromBytes(Bytes{0x01}));
  EXPECT_EQ(Glossary::fromBytes(Bytes{0x00, 0x00})->entryCount(), 0);
}

// ---------------------------------------------------------------- kalvor.lf

DrawingBlock sampleBlock() {
  DrawingBlock b;
  b.drawings = {{0, 2}};
  b.sources = {DrawingSource::make(3, 12, 7, "Notiz")};
  b.values = {0x80000005u, 0x00070003u};
  return b;
}

TEST(DrawingFile, GoldenBytesAndRoundTrip) {
  DrawingFileWriter w(2);
  ASSERT_TRUE(w.setBlock(1, sampleBlock()));
  EXPECT_FALSE(w.setBlock(2, sampleBlock()));
  Bytes expected(84, 0);
  expected[0] = 2;     // header: N
  expected[8] = 12;    // offset of mineral 1's block
  expected[12] = 1;    // F
  expected[14] = 2;    // G
  expected[18] = 2;    // drawing 0: first value 0, two values
  expected[20 + 1] = 3;   // source: volume
  expected[20 + 2] = 12;  // plate
  expected[20 + 4] = 7;   // figure
  expected = withText(expected, 20 + 6, "Notiz");
  expected[76] = 0x05;
  expected[79] = 0x80;
  expected[80] = 0x03;
  expected[82] = 0x07;
  const Bytes file = w.build();
  EXPECT_EQ(file, expected);

  const DrawingFile lf = DrawingFile::fromBytes(file, 2);
  EXPECT_FALSE(lf.drawingBlockFor(0));  // offset 0: no drawings
  EXPECT_FALSE(lf.drawingBlockFor(2));  // number N: no entry
  const std::optional<DrawingBlock> b = lf.drawingBlockFor(1);
  ASSERT_TRUE(b);
  EXPECT_EQ(*b, sampleBlock());
  EXPECT_EQ(b->sources[0].volume(), 3);
  EXPECT_EQ(b->sources[0].plate(), 12);
  EXPECT_EQ(b->sources[0].figure(), 7);
  EXPECT_EQ(b->sources[0].note(), "Notiz");
  EXPECT_EQ(std::vector<std::uint32_t>(b->valuesOf(0).begin(), b->valuesOf(0).end()), b->values);
  EXPECT_TRUE(b->valuesOf(1).empty());

  // A full block of 23 drawings, many minerals, through a folder.
  DrawingFileWriter big(500);
  DrawingBlock full;
  for (std::uint16_t i = 0; i < 23; ++i) {
    full.drawings.push_back({static_cast<std::uint16_t>(i * 3), 3});
    full.sources.push_back(DrawingSource::make(static_cast<std::uint8_t>(i), i, 100, std::string(60, 'n')));
    for (int k = 0; k < 3; ++k) full.values.push_back(static_cast<std::uint32_t>(i * 1000 + k));
  }
  ASSERT_TRUE(big.setBlock(499, full));
  ASSERT_TRUE(big.setBlock(7, sampleBlock()));
  testing::ScratchDir dir;
  ASSERT_TRUE(writeWholeFile(dir.file("kalvor.lf"), big.build()));
  std::optional<DrawingFile> opened = DrawingFile::open(dir.path(), 500);
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->drawingBlockFor(499), std::optional<DrawingBlock>(full));
  EXPECT_EQ(opened->drawingBlockFor(7), std::optional<DrawingBlock>(sampleBlock()));
  EXPECT_EQ(full.sources[22].note(), std::string(49, 'n'));
  EXPECT_EQ(full.valuesOf(22)[2], 22002u);
  EXPECT_FALSE(DrawingFile::open(dir.file("fehlt"), 500));
}

TEST(DrawingFile, DamagedBlocksGiveNothing) {
  DrawingFileWriter w(2);
  ASSERT_TRUE(w.setBlock(1, sampleBlock()));
  const Bytes good = w.build();

  Bytes tooMany = good;
  tooMany[12] = 24;  // F = 24 > 23
  EXPECT_FALSE(DrawingFile::fromBytes(tooMany, 2).drawingBlockFor(1));

  Bytes valuesCut = good;
  valuesCut.pop_back();
  EXPECT_FALSE(DrawingFile::fromBytes(valuesCut, 2).drawingBlockFor(1));

  Bytes hugeG = good;
  storeU16(hugeG.data() + 14, 0xFFFF);
  EXPECT_FALSE(DrawingFile::fromBytes(hugeG, 2).drawingBlockFor(1));

  Bytes offsetPast = good;
  storeU32(offsetPast.data() + 8, 0xFFFFFFFF);
  EXPECT_FALSE(DrawingFile::fromBytes(offsetPast, 2).drawingBlockFor(1));

  // A table shorter than N, or a count N larger than the table.
  EXPECT_FALSE(DrawingFile::fromBytes(Bytes{2, 0, 0, 0, 0, 0}, 2).drawingBlockFor(1));
  EXPECT_FALSE(DrawingFile::fromBytes(good, 60000).drawingBlockFor(59999));

  // A drawing entry addressing values beyond G.
  DrawingBlock wild = sampleBlock();
  wild.drawings[0] = {1, 5};
  EXPECT_TRUE(wild.valuesOf(0).empty());
  wild.drawings[0] = {static_cast<std::uint16_t>(1 | refformat::kDrawingPreparedBit), 1};
  ASSERT_EQ(wild.valuesOf(0).size(), 1u);
  EXPECT_EQ(wild.valuesOf(0)[0], 0x00070003u);
}

// ---------------------------------------------------------------- kalvor.zi

TEST(PictureListFile, GoldenBytesAndRoundTrip) {
  PictureListWriter w(3);
  ASSERT_TRUE(w.setList(2, {PictureEntry::make(5, "Stufe")}));
  EXPECT_FALSE(w.setList(3, {}));
  Bytes expected(122, 0);
  expected[0] = 3;   // K
  expected[12] = 16; // offset of mineral 2's block
  expected[16] = 1;  // E
  expected[18] = 2;  // the mineral's number
  expected[20] = 5;  // picture number
  expected = withText(expected, 22, "Stufe");
  const Bytes file = w.build();
  EXPECT_EQ(file, expected);

  const PictureListFile zi = PictureListFile::fromBytes(file, 3);
  EXPECT_TRUE(zi.pictureListFor(0).empty());
  EXPECT_TRUE(zi.pictureListFor(3).empty());
  const std::vector<PictureEntry> list = zi.pictureListFor(2);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].pictureNumber(), 5);
  EXPECT_EQ(list[0].caption(), "Stufe");

  PictureListWriter big(1000);
  std::vector<PictureEntry> entries;
  for (std::uint16_t i = 0; i < 12; ++i) entries.push_back(PictureEntry::make(i * 7, cp("Bild Nr. ") + std::string(i * 10, 'z')));
  ASSERT_TRUE(big.setList(999, entries));
  ASSERT_TRUE(big.setList(0, {entries[3]}));
  testing::ScratchDir dir;
  ASSERT_TRUE(writeWholeFile(dir.file("kalvor.zi"), big.build()));
  std::optional<PictureListFile> opened = PictureListFile::open(dir.path(), 1000);
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->pictureListFor(999), entries);
  EXPECT_EQ(opened->pictureListFor(0), std::vector<PictureEntry>{entries[3]});
  EXPECT_TRUE(opened->pictureListFor(500).empty());
  EXPECT_EQ(entries[11].caption().size(), 99u);
}

TEST(PictureListFile, DamagedListsAreEmptyOrCut) {
  PictureListWriter w(3);
  ASSERT_TRUE(w.setList(2, {PictureEntry::make(5, "a"), PictureEntry::make(6, "b")}));
  const Bytes good = w.build();

  Bytes otherNumber = good;
  otherNumber[18] = 1;  // the block claims to be mineral 1's
  EXPECT_TRUE(PictureListFile::fromBytes(otherNumber, 3).pictureListFor(2).empty());

  Bytes negative = good;
  storeU16(negative.data() + 16, 0x8000);
  EXPECT_TRUE(PictureListFile::fromBytes(negative, 3).pictureListFor(2).empty());

  Bytes cut = good;
  cut.resize(cut.size() - 1);  // the second entry is one byte short
  const std::vector<PictureEntry> kept = PictureListFile::fromBytes(cut, 3).pictureListFor(2);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].caption(), "a");

  // K larger than N: only N offsets count; K smaller than N: the rest have none.
  EXPECT_TRUE(PictureListFile::fromBytes(good, 2).pictureListFor(2).empty());
  const PictureListFile wide = PictureListFile::fromBytes(good, 10);
  EXPECT_EQ(wide.pictureListFor(2).size(), 2u);
  EXPECT_TRUE(wide.pictureListFor(3).empty());

  Bytes offsetPast = good;
  storeU32(offsetPast.data() + 12, static_cast<std::uint32_t>(good.size() - 2));
  EXPECT_TRUE(PictureListFile::fromBytes(offsetPast, 3).pictureListFor(2).empty());
  EXPECT_TRUE(PictureListFile::fromBytes(Bytes{3, 0}, 3).pictureListFor(0).empty());
}

// ---------------------------------------------------------------- kalvor.pf / logos.pf

TEST(PictureFileFormat, GoldenHeaderAndDecode) {
  // The hand-checked 5 x 2 stream of the LZW tests.
  const Bytes stream = {0x02, 0x05, 0x4C, 0x0C, 0x09, 0x11, 0x05, 0x00};
  PictureFileWriter w;
  EXPECT_EQ(w.addEncoded(5, 2, "Logo", stream), 0u);
  Bytes expected = {1, 0, 0, 0, 8, 0, 0, 0, 5, 0, 2, 0, 4, 'L', 'o', 'g', 'o'};
  expected.insert(expected.end(), stream.begin(), stream.end());
  const Bytes file = w.build();
  EXPECT_EQ(file, expected);

  std::optional<PictureFile> pf = PictureFile::fromBytes(file);
  ASSERT_TRUE(pf);
  EXPECT_EQ(pf->pictureCount(), 1u);
  EXPECT_EQ(pf->pictureOffset(0), std::optional<std::uint32_t>(8));
  EXPECT_FALSE(pf->pictureOffset(1));
  EXPECT_EQ(pf->readHeader(8), std::optional<PictureHeader>(PictureHeader{5, 2, "Logo", 17}));
  const std::optional<Picture> p = pf->readPicture(8);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->bitmap, (Bytes{0xF0, 0xFF, 0x18, 0xFF}));
  EXPECT_EQ(p->caption, "Logo");
  // Width and height given by the caller: the stream starts at the offset.
  EXPECT_EQ(pf->decodeAt(17, 5, 2), std::optional<Bytes>(Bytes{0xF0, 0xFF, 0x18, 0xFF}));
  // A stream cut short leaves background; a size that eight bytes could never
  // encode (at most 4 codes of 4,096 pixels a byte) is a damaged header.
  const std::optional<Bytes> wider = pf->decodeAt(17, 64, 64);
  ASSERT_TRUE(wider);
  EXPECT_EQ(wider->size(), 64u * pictureRowBytes(64));
  EXPECT_EQ(wider->back(), 0xFF);
  EXPECT_TRUE(pf->decodeAt(17, 362, 362));  // 131,044 pixels: within the bound
  EXPECT_FALSE(pf->decodeAt(17, 363, 363));  // 131,769 > 8 * 4 * 4,096
}

TEST(PictureFileFormat, RoundTripOfSeveralPictures) {
  std::mt19937 rng(42);
  PictureFileWriter w;
  std::vector<Picture> originals;
  for (std::uint16_t width : {1, 17, 99, 320}) {
    const auto height = static_cast<std::uint16_t>(1 + rng() % 60);
    Bytes bitmap(height * pictureRowBytes(width));
    for (auto& b : bitmap) b = static_cast<std::uint8_t>(rng() & rng());
    const std::string caption = "Bild " + std::to_string(width);
    w.addPicture(width, height, caption, bitmap);
    originals.push_back({width, height, caption, bitmap});
  }
  w.addPicture(3, 1, std::string(300, 'c'), Bytes{0x40, 0x00});  // caption cut to 255
  testing::ScratchDir dir;
  ASSERT_TRUE(writeWholeFile(dir.file("logos.pf"), w.build()));
  std::optional<PictureFile> pf = PictureFile::open(dir.file("logos.pf"));
  ASSERT_TRUE(pf);
  ASSERT_EQ(pf->pictureCount(), 5u);
  for (std::uint32_t n = 0; n < 4; ++n) {
    const std::optional<Picture> p = pf->readPicture(*pf->pictureOffset(n));
    ASSERT_TRUE(p);
    const Picture& o = originals[n];
    EXPECT_EQ(p->width, o.width);
    EXPECT_EQ(p->height, o.height);
    EXPECT_EQ(p->caption, o.caption);
    for (std::size_t y = 0; y < o.height; ++y)
      for (std::size_t x = 0; x < o.width; ++x)
        ASSERT_EQ(pictureBit(p->bitmap, o.width, x, y), pictureBit(o.bitmap, o.width, x, y));
  }
  const std::optional<Picture> last = pf->readPicture(*pf->pictureOffset(4));
  ASSERT_TRUE(last);
  EXPECT_EQ(last->caption, std::string(255, 'c'));
  EXPECT_EQ(last->bitmap, (Bytes{0x40, 0xFF}));
  EXPECT_FALSE(PictureFile::open(dir.file("kalvor.pf")));
}

TEST(PictureFileFormat, DamagedFilesStayInBounds) {
  PictureFileWriter w;
  w.addPicture(20, 4, "x", Bytes(16, 0x00));
  const Bytes good = w.build();

  Bytes countPast = good;
  storeU32(countPast.data(), 0x01000000);  // a table far longer than the file
  EXPECT_FALSE(PictureFile::fromBytes(countPast));
  EXPECT_FALSE(PictureFile::fromBytes(Bytes{0, 0}));

  const PictureFile pf = *PictureFile::fromBytes(good);
  EXPECT_FALSE(pf.readHeader(static_cast<std::uint32_t>(good.size())));
  EXPECT_FALSE(pf.readPicture(0xFFFFFFF0u));

  Bytes captionPast = good;
  captionPast[12] = 250;  // caption length beyond the end
  EXPECT_FALSE(PictureFile::fromBytes(captionPast)->readHeader(8));

  Bytes huge = good;
  storeU16(huge.data() + 8, 0xFFFF);
  storeU16(huge.data() + 10, 0xFFFF);
  EXPECT_FALSE(PictureFile::fromBytes(huge)->readPicture(8));

  // A stream cut short: what was decoded stays, the rest is background.
  Bytes cut = good;
  cut.resize(8 + 6 + 4);  // header and the first 3 bytes of code data
  const std::optional<Picture> p = PictureFile::fromBytes(cut)->readPicture(8);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->bitmap.size(), 4 * pictureRowBytes(20));
  EXPECT_EQ(p->bitmap[0], 0x00);
  EXPECT_EQ(p->bitmap.back(), 0xFF);

  // Header only, no stream at all: the size byte is missing.
  Bytes noStream = good;
  noStream.resize(8 + 6);
  EXPECT_FALSE(PictureFile::fromBytes(noStream)->readPicture(8));
}

}  // namespace
}  // namespace kalvor
