// The window of the "Trim" dialog: the part of a file that is converted
#include "app/clip.h"

#include "app/FormShape.h"

namespace vantrel::app {

TClipForm::TClipForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"Trim", bsDialog, 494, 494, poScreenCenter});
}

}  // namespace vantrel::app
