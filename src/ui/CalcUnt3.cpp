#include "ui/CalcUnt3.h"
#include "ui/Place.h"

#include <memory>

namespace hk {

TCalcAboutForm* CalcAboutForm = nullptr;

namespace {

Font GothicFont() {
  Font font;
  font.name = "ＭＳ ゴシック";
  font.height = -13;
  return font;
}

}  // namespace

TCalcAboutForm::TCalcAboutForm(Form& owner) : Form(FormStyle::Dialog, &owner) {
  setText("はかり丸について");
  Font dialogFont;
  dialogFont.name = "MS Sans Serif";
  dialogFont.height = -11;
  setFont(dialogFont);
  setClientSize(298, 213);
  setCentredOnScreen(true);

  Place(Panel1, 8, 8, 281, 161);
  Panel1.setBevels(Bevel::Raised, Bevel::Lowered);
  Panel1.setColour(kColourButtonFace);

  Place(ProgramIcon, 12, 8, 65, 57);
  ProgramIcon.setStretch(true);
  ProgramIcon.setPicture(Picture::FromResource("BM_ABOUT", 32, 32));
  // The title beside it says what the picture shows.
  ProgramIcon.setAccessibleHidden(true);

  Place(ProductName, 88, 24, 52, 13);
  ProductName.setFont(GothicFont());
  ProductName.setText("はかり丸");

  Place(Version, 132, 48, 60, 13);
  Version.setText("Version 1.0");

  Place(Label2, 36, 92, 143, 13);
  Label2.setFont(GothicFont());
  Label2.setText("フリーソフトウェアです");

  // The authors' names are Japanese: the dialog's Latin font has no glyphs for
  // them on a system without font linking.
  Place(Label3, 40, 132, 26, 13);
  Label3.setFont(GothicFont());
  Label3.setText("作者");
  Place(Label4, 180, 132, 91, 13);
  Label4.setFont(GothicFont());
  Label4.setText("はかり丸チーム");

  Place(OKButton, 111, 180, 75, 25);
  OKButton.setText("OK");
  OKButton.setModalResult(kModalOk);
  setDefaultButton(&OKButton);
}

int ShowAboutBox(Services& services, Form& owner) {
  auto box = std::make_unique<TCalcAboutForm>(owner);
  CalcAboutForm = box.get();
  // The global must never outlive the box, also when the modal run fails.
  struct Forget {
    ~Forget() { CalcAboutForm = nullptr; }
  } forget;
  const int result = services.runModal(*box);
  CalcAboutForm = nullptr;
  services.releaseLater(std::move(box));
  return result;
}

}  // namespace hk
