// The dialog "FUNDORTBESCHREIBUNG": the long description of a locality,
// opened from the locality form over the fields typed so far. "OK" and
// "Zurück" end it with 1 and the text, "Abbrechen" with 0.
#pragma once

#include <string>

#include "collection/locality.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class LocalityDescriptionDialog final : public ModalDialog {
 public:
  LocalityDescriptionDialog(HINSTANCE instance, const Locality& locality)
      : ModalDialog(instance, "FUNDORTBESCHREIBUNG"), locality_(locality) {}
  // The text after "OK" or "Zurück".
  const std::string& description() const { return description_; }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override;

  const Locality& locality_;
  std::string description_;
};

}  // namespace kalvor::shell
