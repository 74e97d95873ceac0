// The window of the profile and format chooser.
#include "app/profilechoosing.h"

#include "app/FormShape.h"

namespace vantrel::app {

Tproform::Tproform(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"", bsNone, 500, 470, poDesigned});
}

}  // namespace vantrel::app
