// The window of the "Survey" dialog, made at start-up and never shown.
// Its controls come with the commands that use them.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;

namespace vantrel::app {

class TSurveyForm : public TForm {
  VANTREL_CLASS(TSurveyForm)
  explicit TSurveyForm(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
};

}  // namespace vantrel::app
