// The dialog "STUFENBESCHREIBUNG": the long description of the specimen being
// entered, below read-only lines of its minerals, locality, size and index.
// "OK" and "&Zurück" keep the text, "Abbrechen" leaves it as it was.
#pragma once

#include <string>

#include "shell/dialog.h"

namespace kalvor::shell {

// What the lines above the description show (Windows-1252).
struct PieceSummary {
  std::string mainMinerals;
  std::string accompanyingMinerals;
  std::string locality;
  std::string size;
  std::string index;
};

class PieceDescriptionDialog final : public ModalDialog {
 public:
  PieceDescriptionDialog(HINSTANCE instance, PieceSummary summary, std::string description)
      : ModalDialog(instance, "STUFENBESCHREIBUNG"), summary_(std::move(summary)), text_(std::move(description)) {}
  // The text after "OK" or "&Zurück".
  const std::string& description() const { return text_; }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override;

  PieceSummary summary_;
  std::string text_;
};

}  // namespace kalvor::shell
