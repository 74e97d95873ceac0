// The window of the "Profile Settings" dialog: the output settings of one catalogue format
#include "app/settings.h"

#include "app/FormShape.h"

namespace vantrel::app {

Tsettingsform::Tsettingsform(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"Profile Settings", bsDialog, 440, 310, poScreenCenter});
}

}  // namespace vantrel::app
