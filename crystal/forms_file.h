// "kalvor.kf": the forms and cell behind each mineral's computed drawings, so
// that the program can turn the crystal and say what it was computed from.
// Layout: docs/formats/crystal_forms_file.md.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "crystal/crystal_shape.h"

namespace kalvor::crystal {

inline constexpr const char* kFormsFileName = "kalvor.kf";
inline constexpr std::size_t kFormsHeaderSize = 4;
inline constexpr std::size_t kFormsBlockFixedSize = 56;
inline constexpr std::size_t kFormsEntrySize = 16;

// Where a mineral's forms come from.
enum class FormOrigin : std::uint8_t {
  kCurated = 1,       // the species' typical habit (data/crystal_forms.tsv)
  kClassDefault = 2,  // a characteristic form set of its class, not the species' habit
};

// The views of the drawings, in drawing order.
enum class DrawingView : std::uint8_t { kClinographic = 0, kMainAxis = 1 };

struct MineralForms {
  FormSet set;
  FormOrigin origin = FormOrigin::kCurated;
  std::uint8_t viewCount = 1;  // drawings 0..viewCount-1: clinographic, then along the main axis
  // Extra turn of the clinographic view about the vertical axis, degrees
  // (negative brings the right-hand side to the front): for crystals tabular
  // on a face that the standard view would show edge-on.
  std::int16_t turnDegrees = 0;
  bool operator==(const MineralForms&) const = default;
};

// Builds "kalvor.kf" for N minerals.
class FormsFileWriter {
 public:
  explicit FormsFileWriter(std::uint32_t mineralCount) : blocks_(mineralCount) {}
  // False when n >= N or a form has more than 255 faces' worth of indices (|index| > 127).
  bool set(std::uint32_t n, MineralForms forms);
  Bytes build() const;

 private:
  std::vector<std::optional<MineralForms>> blocks_;
};

// Reads "kalvor.kf" from its bytes.
class FormsFile {
 public:
  explicit FormsFile(Bytes file) : file_(std::move(file)) {}
  // Reads "kalvor.kf" from `folder`; nothing when it is missing (drawings then cannot be turned).
  static std::optional<FormsFile> open(const std::string& folder);
  // The forms of mineral n; nothing when n is beyond the table, its offset is 0,
  // or the block is cut short or malformed.
  std::optional<MineralForms> formsFor(std::uint32_t n) const;

 private:
  Bytes file_;
};

}  // namespace kalvor::crystal
