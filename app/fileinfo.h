// The window of the "File Information" dialog: what the media engine reads from a file.
// Its controls come with the commands that use them.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;

namespace vantrel::app {

class TFileInfoForm : public TForm {
  VANTREL_CLASS(TFileInfoForm)
  explicit TFileInfoForm(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
};

}  // namespace vantrel::app
