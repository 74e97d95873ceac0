// The window of the "File Information" dialog: what the media engine reads from a file
#include "app/fileinfo.h"

#include "app/FormShape.h"

namespace vantrel::app {

TFileInfoForm::TFileInfoForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"File Information", bsDialog, 338, 370, poScreenCenter}, false);
}

}  // namespace vantrel::app
