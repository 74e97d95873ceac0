// The window of the "About" dialog: the product, its version and the maker's links
#include "app/about.h"

#include "app/FormShape.h"

namespace vantrel::app {

TAboutForm::TAboutForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"About", bsDialog, 334, 260, poMainFormCenter}, false);
}

}  // namespace vantrel::app
