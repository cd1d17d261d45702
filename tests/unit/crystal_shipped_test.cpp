// Checks of the computed crystal drawings in the shipped "kalvor.lf" and of the
// forms behind them in "kalvor.kf", read with a parser of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/bytes.h"
#include "base/file_io.h"
#include "crystal/computed_drawing.h"
#include "crystal/point_groups.h"
#include "crystal/turnable_drawing.h"
#include "refdb/mineral_record.h"
#include "tests/unit/test_files.h"

namespace kalvor::crystal {
namespace {

std::string refdataDir() {
  const char* dir = std::getenv("KALVOR_REFDATA_DIR");
  return dir ? dir : "";
}

// One drawing as the file stores it.
struct StoredDrawing {
  std::vector<std::uint32_t> values;
  std::uint8_t byte0 = 0, volume = 0;
  std::uint16_t plate = 0, figure = 0;
  std::string note;
};

class ShippedDrawings : public ::testing::Test {
 protected:
  void SetUp() override {
    if (refdataDir().empty()) GTEST_SKIP() << "KALVOR_REFDATA_DIR is not set (run through ctest)";
    db_ = MineralDatabase::open(refdataDir());
    ASSERT_TRUE(db_.has_value());
    lf_ = kalvor::testing::readFile(refdataDir() + "/kalvor.lf");
    const auto forms = FormsFile::open(refdataDir());
    ASSERT_TRUE(forms.has_value());
    kf_ = kalvor::testing::readFile(refdataDir() + "/kalvor.kf");
    ASSERT_GE(lf_.size(), 4 + 4 * std::size_t(db_->entryCount()));
    ASSERT_FALSE(kf_.empty());
  }

  // The drawings of mineral n, parsed from the layout: u16 F, u16 G, F entries of
  // (u16 first, u16 count), F source records of 56 bytes, G u32 values. A layout
  // fault fails the test.
  std::vector<StoredDrawing> drawingsOf(MineralNumber n) {
    std::vector<StoredDrawing> out;
    const std::uint32_t at = loadU32(lf_.data() + 4 + 4 * std::size_t(n));
    if (at == 0) return out;
    EXPECT_LE(std::size_t(at) + 4, lf_.size());
    if (std::size_t(at) + 4 > lf_.size()) return out;
    const std::size_t f = loadU16(lf_.data() + at), g = loadU16(lf_.data() + at + 2);
    EXPECT_GE(f, 1u);
    EXPECT_LE(f, 23u);
    const std::size_t sources = at + 4 + 4 * f, values = sources + 56 * f;
    EXPECT_LE(values + 4 * g, lf_.size());
    if (values + 4 * g > lf_.size()) return out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < f; ++i) {
      const std::size_t first = loadU16(lf_.data() + at + 4 + 4 * i),
                        count = loadU16(lf_.data() + at + 6 + 4 * i);
      EXPECT_EQ(first, next) << "drawings follow each other in the value array";
      EXPECT_EQ(first & 0x8000u, 0u) << "the prepared bit is clear in the file";
      EXPECT_LE(first + count, g);
      next = first + count;
      StoredDrawing d;
      for (std::size_t k = first; k < first + count && k < g; ++k)
        d.values.push_back(loadU32(lf_.data() + values + 4 * k));
      const std::uint8_t* s = lf_.data() + sources + 56 * i;
      d.byte0 = s[0], d.volume = s[1], d.plate = loadU16(s + 2), d.figure = loadU16(s + 4);
      const char* note = reinterpret_cast<const char*>(s + 6);
      d.note.assign(note, strnlen(note, 50));
      EXPECT_LT(d.note.size(), 50u) << "the note ends with a NUL inside its field";
      out.push_back(std::move(d));
    }
    EXPECT_EQ(next, g);
    return out;
  }

  std::optional<MineralDatabase> db_;
  Bytes lf_, kf_;
};

TEST_F(ShippedDrawings, EveryBlockParsesAndEveryDrawingStartsWithAMoveWithinFifteenBits) {
  std::size_t drawings = 0;
  for (MineralNumber n = 0; n < db_->entryCount(); ++n) {
    for (const StoredDrawing& d : drawingsOf(n)) {
      ++drawings;
      ASSERT_GE(d.values.size(), 2u);
      EXPECT_NE(d.values.front() & 0x80000000u, 0u) << "mineral " << n << " starts with a line";
      std::uint32_t maxX = 0, maxY = 0;
      for (std::uint32_t v : d.values) {
        // Bit 15 belongs to the pen of a move; in a line it would be a coordinate spilled over 15 bits.
        if ((v & 0x80000000u) == 0) {
          EXPECT_EQ(v & 0x8000u, 0u);
        }
        maxX = std::max(maxX, v & 0x7FFFu);
        maxY = std::max(maxY, (v >> 16) & 0x7FFFu);
      }
      EXPECT_EQ(std::max(maxX, maxY), 32767u) << "the drawing fills the coordinate range";
      // Computed drawings: volume 0, byte 0 the origin of the forms, figure = view + 1.
      EXPECT_EQ(d.volume, 0);
      EXPECT_TRUE(d.byte0 == 1 || d.byte0 == 2);
      EXPECT_TRUE(d.note.starts_with(d.byte0 == 1 ? "Berechnet:" : "Klassenformen, nicht Tracht:")) << d.note;
    }
  }
  EXPECT_GE(drawings, 1000u);
}

TEST_F(ShippedDrawings, EveryDrawingIsTheProjectionOfAClosedSymmetricSolidOfItsForms) {
  const FormsFile forms(kf_);
  std::size_t curated = 0, defaults = 0;
  for (MineralNumber n = 0; n < db_->entryCount(); ++n) {
    const std::vector<StoredDrawing> stored = drawingsOf(n);
    const auto f = forms.formsFor(n);
    ASSERT_EQ(stored.empty(), !f.has_value()) << "mineral " << n;
    if (!f) continue;
    SCOPED_TRACE(db_->readMineralRecord(n).name());
    (f->origin == FormOrigin::kCurated ? curated : defaults)++;
    const auto shape = buildCrystalShape(f->set);
    ASSERT_TRUE(shape.has_value());
    const Polyhedron& p = shape->solid;
    EXPECT_EQ(long(p.vertices.size()) - long(p.edges.size()) + long(p.faces.size()), 2);
    // The point group maps the solid onto itself.
    const Mat3 basis = *directBasis(f->set.cell);
    const Mat3 inverse = basis.inverse();
    for (const IntMat3& r : pointGroupOperations(f->set.classBit)) {
      const Mat3 q = basis * r.toDouble() * inverse;
      for (const Vec3& v : p.vertices) {
        const Vec3 w = q * v;
        bool found = false;
        for (const Vec3& u : p.vertices) found = found || length(u - w) <= 1e-6 * p.size();
        ASSERT_TRUE(found);
      }
    }
    // The stored values are the projections of this solid, so turning it later starts from the same picture.
    ASSERT_EQ(stored.size(), f->viewCount);
    for (std::uint8_t i = 0; i < f->viewCount; ++i) {
      EXPECT_EQ(stored[i].values, drawShape(*shape, viewOfDrawing(*f, i)));
      EXPECT_EQ(stored[i].figure, i + 1);
      EXPECT_EQ(stored[i].byte0, static_cast<std::uint8_t>(f->origin));
    }
  }
  EXPECT_GE(curated, 200u);
  EXPECT_GT(defaults, 0u);
}

TEST_F(ShippedDrawings, EverySpeciesWithClassAndCellHasDrawings) {
  const FormsFile forms(kf_);
  std::size_t drawable = 0;
  for (MineralNumber n = 0; n < db_->entryCount(); ++n) {
    const MineralRecord r = db_->readMineralRecord(n);
    if (!r.isFullMineral()) {
      EXPECT_FALSE(forms.formsFor(n).has_value());
      continue;
    }
    bool hasCell = false;
    for (const CrystalDataEntry& d : r.crystalData()) {
      const int bit = preferredClassBit(d.classes);
      hasCell = hasCell || (bit >= 0 && cellForClass(static_cast<unsigned>(bit), d).has_value());
    }
    drawable += hasCell;
    EXPECT_EQ(forms.formsFor(n).has_value(), hasCell) << r.name();
  }
  EXPECT_GE(drawable, 1000u);
}

TEST_F(ShippedDrawings, ClassicsCarryTheirCuratedForms) {
  const FormsFile forms(kf_);
  auto formsOf = [&](const char* name) -> std::optional<MineralForms> {
    for (MineralNumber n = 0; n < db_->entryCount(); ++n)
      if (db_->readMineralRecord(n).name() == kalvor::testing::cp(name)) return forms.formsFor(n);
    return std::nullopt;
  };
  const auto quartz = formsOf("Quarz");
  ASSERT_TRUE(quartz.has_value());
  EXPECT_EQ(quartz->origin, FormOrigin::kCurated);
  EXPECT_EQ(quartz->set.classBit, 19u);  // 32
  EXPECT_EQ(quartz->viewCount, 2);       // the second view down the c axis
  ASSERT_EQ(quartz->set.forms.size(), 3u);
  EXPECT_EQ(quartz->set.forms[0].face, (Miller{1, 0, 0}));
  // Turning quartz changes its picture; Pos1 gives back the shipped values exactly.
  auto turnable = TurnableDrawing::make(*quartz, 0);
  ASSERT_TRUE(turnable.has_value());
  const std::vector<std::uint32_t> shipped = turnable->values();
  turnable->turn(0.2, 0);
  turnable->turn(0, -0.15);
  EXPECT_TRUE(turnable->isTurned());
  EXPECT_NE(turnable->values(), shipped);
  turnable->reset();
  EXPECT_FALSE(turnable->isTurned());
  EXPECT_EQ(turnable->values(), shipped);
  EXPECT_FALSE(TurnableDrawing::make(*quartz, 2).has_value());

  const auto pyrite = formsOf("Pyrit");
  ASSERT_TRUE(pyrite.has_value());
  EXPECT_EQ(pyrite->viewCount, 1);
  EXPECT_EQ(pyrite->set.forms[1].face, (Miller{2, 1, 0}));
  for (const char* name :
       {"Galenit", "Almandin", "Fluorit", "Calcit", "Beryll", "Zirkon", "Gips", "Topas", "Kassiterit"}) {
    const auto f = formsOf(name);
    ASSERT_TRUE(f.has_value()) << name;
    EXPECT_EQ(f->origin, FormOrigin::kCurated) << name;
  }
}

}  // namespace
}  // namespace kalvor::crystal
