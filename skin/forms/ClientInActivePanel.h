// The panel that covers an inactive form's client area with a snapshot of it, faded by
// the form's own background or blurred.
#pragma once

#include <memory>

#include "skin/controls/SkinCtrls.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/forms/FormSkin.h"

class TspClientInActivePanel : public TspSkinPaintPanel {
  VANTREL_CLASS(TspClientInActivePanel)
  explicit TspClientInActivePanel(TComponent* AOwner);

  // Covers the client area of a visible form with its snapshot; nothing for a nil,
  // hidden or empty form.
  void ShowPanel(TForm* AForm, TspClientInActiveEffect AEffect);
  void HidePanel();
  TspBitmap* Buffer() const { return FBuffer.get(); }

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  std::unique_ptr<TspBitmap> FBuffer;
};
