// The frame of the application's dialogs: caption, border, client size, position and the
// skinned frame component that draws them.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;
class TspSkinData;

namespace vantrel::app {

struct TFormShape {
  const char* Caption;
  TFormBorderStyle Border;
  Integer ClientWidth;
  Integer ClientHeight;
  TPosition Position;
};

// Gives Form its shape, without caption buttons of its own, and a frame component that
// neither sizes nor drags the window unless asked and draws its own caption buttons only
// when asked; returns the frame component (owned by Form).
TspFormSkin* ShapeForm(TForm& Form, const TFormShape& Shape, bool Draggable = true, bool CaptionButtons = false);

}  // namespace vantrel::app
