// Fuzzes the reader of kalvor.kf and the shapes and drawings computed from
// whatever forms and cell it yields: no crash, and a drawing stays in 15 bits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "crystal/computed_drawing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvor;
  using namespace kalvor::crystal;
  const FormsFile file(Bytes(data, data + size));
  for (std::uint32_t n = 0; n < 8; ++n) {
    std::optional<MineralForms> forms = file.formsFor(n);
    if (!forms || forms->set.forms.size() > 12) continue;
    const std::optional<CrystalShape> shape = buildCrystalShape(forms->set);
    if (!shape) continue;
    for (std::uint8_t view = 0; view < 2; ++view)
      for (std::uint32_t v : drawShape(*shape, viewOfDrawing(*forms, view)))
        if ((v & 0x80000000u) == 0 && (v & 0x8000u) != 0) std::abort();
  }
  return 0;
}
