// The window of the "Conversion" dialog: the progress of a running job.
// Its controls come with the commands that use them.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;

namespace vantrel::app {

class TConvForm : public TForm {
  VANTREL_CLASS(TConvForm)
  explicit TConvForm(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
};

}  // namespace vantrel::app
