// The skin-change walk over the form's other components: nothing of them needs telling.
#include "skin/forms/FormSkin.h"

void TspFormSkin::SendBeforeChangeToComponents(TspSkinData*) {}
void TspFormSkin::SendChangeToComponents(TspSkinData*) {}

