#pragma once

#include "platform/Services.h"
#include "platform/Widgets.h"

namespace hk {

// The About box: the program's picture, name, version, terms and authors.
class TCalcAboutForm : public Form {
 public:
  explicit TCalcAboutForm(Form& owner);

  Panel Panel1{this};
  Image ProgramIcon{&Panel1};
  Label ProductName{&Panel1};
  Label Version{&Panel1};
  Label Label2{&Panel1};  // the terms of distribution
  Label Label3{&Panel1};  // the author line: its heading
  Label Label4{&Panel1};  // and the authors
  Button OKButton{this};
};

// The box while it is open; nothing otherwise.
extern TCalcAboutForm* CalcAboutForm;

// Opens the box over the owner and waits until it is closed; the box is then
// handed to the services to be destroyed. Returns how it was closed.
int ShowAboutBox(Services& services, Form& owner);

}  // namespace hk
