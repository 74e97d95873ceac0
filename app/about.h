// The window of the "About" dialog: the product, its version and the maker's links.
// Its controls come with the commands that use them.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;

namespace vantrel::app {

class TAboutForm : public TForm {
  VANTREL_CLASS(TAboutForm)
  explicit TAboutForm(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
};

}  // namespace vantrel::app
