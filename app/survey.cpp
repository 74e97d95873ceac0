// The window of the "Survey" dialog, made at start-up and never shown
#include "app/survey.h"

#include "app/FormShape.h"

namespace vantrel::app {

TSurveyForm::TSurveyForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"Survey", bsDialog, 400, 300, poScreenCenter});
}

}  // namespace vantrel::app
