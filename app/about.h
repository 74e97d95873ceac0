// The window of the "About" dialog: the product, its version, a short notice and the
// maker's links.
#pragma once

#include "platform/ui/Forms.h"

class TLabel;
class TspFormSkin;
class TspSkinButton;
class TspSkinData;
class TspSkinLinkLabel;
class TspSkinPanel;
class TspSkinStdLabel;
class TspSkinTextLabel;

namespace vantrel::app {

class TAboutForm : public TForm {
  VANTREL_CLASS(TAboutForm)
  explicit TAboutForm(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
  TspSkinPanel* LogoPanel = nullptr;
  TLabel* lblProgramName = nullptr;
  TLabel* lblversion = nullptr;
  TspSkinPanel* spSkinPanel2 = nullptr;
  TspSkinTextLabel* lblWarning = nullptr;
  TspSkinStdLabel* lblHomePageCaption = nullptr;
  TspSkinLinkLabel* lblHomePage = nullptr;
  TspSkinStdLabel* lblSupportCaption = nullptr;
  TspSkinLinkLabel* lblSupport = nullptr;
  TspSkinButton* PreviewButton = nullptr;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void PreviewButtonClick(TObject* Sender);
  // Draws the frame and the controls with the application's skin.
  void BindSkin(TspSkinData* Data);
};

// The maker's name as the notice gives it.
inline constexpr const char* MakerName = "Quillmoor";

}  // namespace vantrel::app
