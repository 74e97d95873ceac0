// The window of the "Edit" dialog: crop, aspect ratio and picture corrections with two previews
#include "app/crop.h"

#include "app/FormShape.h"

namespace vantrel::app {

TCropForm::TCropForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"Edit", bsDialog, 700, 466, poMainFormCenter});
}

}  // namespace vantrel::app
