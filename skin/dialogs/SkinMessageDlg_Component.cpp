// TspSkinMessage: its settings and the entry points, each a build, a modal run and the
// dialog freed again (the check box's answer kept even when the run raised).
#include "platform/win/SysMetrics.h"
#include "skin/dialogs/SkinMessageDlg.h"

namespace {

TOwned<TFont> MessageDefaultFont() {
  TOwned<TFont> F = CreateOwned<TFont>();
  F->SetName("Arial");
  F->SetHeight(14);
  F->SetStyle(TFontStyles{});
  return F;
}

// Frees the dialog on every way out, taking the check box's answer first.
struct MessageRunGuard {
  TspMessageForm* Form;
  Boolean* ShowAgain;
  ~MessageRunGuard() {
    if (Form->DisplayCheckBox) *ShowAgain = !Form->DisplayCheckBox->Checked();
    FreeObject(Form);
  }
};

}  // namespace

TspSkinMessage::TspSkinMessage(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(MessageDefaultFont()), FDefaultButtonFont(MessageDefaultFont()) {}

TspSkinMessage::~TspSkinMessage() = default;

void TspSkinMessage::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinMessage::SetCtrlSkinData(TspSkinData* Value) {
  FCtrlFSD = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinMessage::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
}

TspMessageSettings TspSkinMessage::Settings() const {
  TspMessageSettings S;
  S.SkinData = FSD;
  S.CtrlSkinData = FCtrlFSD;
  S.ButtonSkinDataName = FButtonSkinDataName;
  S.MessageLabelSkinDataName = FMessageLabelSkinDataName;
  S.DefaultFont = FDefaultFont.get();
  S.DefaultButtonFont = FDefaultButtonFont.get();
  S.UseSkinFont = FUseSkinFont;
  S.AlphaBlend = FAlphaBlend;
  S.AlphaBlendAnimation = FAlphaBlendAnimation;
  S.AlphaBlendValue = FAlphaBlendValue;
  S.ShowAgainFlag = FShowAgainFlag;
  S.ShowAgainFlagValue = FShowAgainFlagValue;
  return S;
}

Integer TspSkinMessage::Run(TspMessageForm* Form, Integer HelpCtx, const String* HelpFileName, Boolean AskShowPos) {
  MessageRunGuard Guard{Form, &FShowAgainFlagValue};
  Form->SetHelpContext(HelpCtx);
  if (HelpFileName) Form->SetHelpFile(*HelpFileName);
  if (Form->Position() == poScreenCenter) {
    // Centred now, so a handler of the position sees, and may change, where it will show.
    Form->SetPosition(poDesigned);
    Form->SetBounds((GetSystemMetrics(SM_CXSCREEN) - Form->Width()) / 2,
                    (GetSystemMetrics(SM_CYSCREEN) - Form->Height()) / 2, Form->Width(), Form->Height());
  }
  if (AskShowPos && OnSetShowPos) {
    Integer X = Form->Left(), Y = Form->Top();
    OnSetShowPos(X, Y, Form->Width(), Form->Height());
    Form->SetBounds(X, Y, Form->Width(), Form->Height());
  }
  return Form->ShowModal();
}

Integer TspSkinMessage::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx) {
  return Run(BuildTypedMessageForm(Settings(), Msg, DlgType, Buttons, spMessageCentred - 1, 0), HelpCtx, nullptr,
             false);
}

Integer TspSkinMessage::MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                       Integer HelpCtx, const String& HelpFileName) {
  return Run(BuildTypedMessageForm(Settings(), Msg, DlgType, Buttons, spMessageCentred - 1, 0), HelpCtx,
             &HelpFileName, false);
}

Integer TspSkinMessage::MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                      Integer HelpCtx, Integer X, Integer Y) {
  return Run(BuildTypedMessageForm(Settings(), Msg, DlgType, Buttons, X, Y), HelpCtx, nullptr, true);
}

Integer TspSkinMessage::MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons, Integer HelpCtx) {
  return Run(BuildCaptionedMessageForm(Settings(), Msg, ACaption, DlgType, Buttons, spMessageCentred - 1, 0),
             HelpCtx, nullptr, false);
}

Integer TspSkinMessage::MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                        TMsgDlgButtons Buttons, Integer HelpCtx, const String& HelpFileName) {
  return Run(BuildCaptionedMessageForm(Settings(), Msg, ACaption, DlgType, Buttons, spMessageCentred - 1, 0),
             HelpCtx, &HelpFileName, false);
}

Integer TspSkinMessage::CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                         Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx) {
  return Run(BuildCustomMessageForm(Settings(), Msg, ACaption, AImages, AImageIndex, Buttons, spMessageCentred - 1, 0),
             HelpCtx, nullptr, false);
}

Integer TspSkinMessage::CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                            Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx, Integer X,
                                            Integer Y) {
  return Run(BuildCustomMessageForm(Settings(), Msg, ACaption, AImages, AImageIndex, Buttons, X, Y), HelpCtx, nullptr,
             true);
}

Integer TspSkinMessage::CustomMessageDlgHelp(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                             Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                                             const String& HelpFileName) {
  return Run(BuildCustomMessageForm(Settings(), Msg, ACaption, AImages, AImageIndex, Buttons, spMessageCentred - 1, 0),
             HelpCtx, &HelpFileName, false);
}

// The wide dialogs have no check box, so the answer kept stays as it was.
Integer TspSkinMessage::WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                       Integer HelpCtx) {
  return Run(BuildWideMessageForm(Settings(), Msg, DlgType, Buttons, spMessageCentred - 1, 0), HelpCtx, nullptr,
             false);
}

Integer TspSkinMessage::WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                          Integer HelpCtx, Integer X, Integer Y) {
  return Run(BuildWideMessageForm(Settings(), Msg, DlgType, Buttons, X, Y), HelpCtx, nullptr, false);
}
