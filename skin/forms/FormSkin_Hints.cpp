// The frame's object hints go through the form's hint component.
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinHint.h"

void TspFormSkin::HideObjectHint() {
  if (FSkinHint) FSkinHint->HideHint();
}

void TspFormSkin::ActivateObjectHint(const String& AHint) {
  if (FSkinHint) FSkinHint->ActivateHint2(AHint);
}
