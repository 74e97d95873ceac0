// The window of the "Conversion" dialog: the progress of a running job
#include "app/conversion.h"

#include "app/FormShape.h"

namespace vantrel::app {

TConvForm::TConvForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"Conversion", bsDialog, 389, 179, poMainFormCenter});
}

}  // namespace vantrel::app
