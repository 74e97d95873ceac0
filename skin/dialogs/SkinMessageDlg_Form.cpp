// The message dialog's window and its layout: the text label at (50, 15), the icon left
// of it, the optional check box, and the row of 70-pixel buttons centred at the bottom.
#include <algorithm>

#include "platform/ui/ExtCtrls.h"
#include "platform/win/Resources.h"
#include "skin/dialogs/SkinMessageDlg.h"

namespace {

constexpr Integer MsgButtonWidth = 70;
constexpr Integer MsgButtonGap = 10;
constexpr Integer MsgDefaultButtonHeight = 25;
constexpr Integer MsgLabelLeft = 50;
constexpr Integer MsgLabelTop = 15;
constexpr Integer MsgCheckBoxHeight = 30;

// System icons by kind (none for mtCustom).
LPCSTR MessageTypeIcon(TMsgDlgType DlgType) {
  switch (DlgType) {
    case mtWarning: return IDI_EXCLAMATION;
    case mtError: return IDI_HAND;
    case mtInformation: return IDI_ASTERISK;
    case mtConfirmation: return IDI_QUESTION;
    default: return nullptr;
  }
}

// The height of the skin's button picture, or 25 without a usable button descriptor.
Integer MessageButtonHeight(const TspMessageSettings& S) {
  TspSkinData* D = S.CtrlSkinData;
  if (!D || D->Empty) return MsgDefaultButtonHeight;
  const Integer I = D->GetControlIndex(S.ButtonSkinDataName);
  if (I < 0) return MsgDefaultButtonHeight;
  auto* B = dynamic_cast<TspDataSkinButtonControl*>(D->CtrlList[static_cast<size_t>(I)]);
  return B ? RectHeight(B->SkinRect) : MsgDefaultButtonHeight;
}

// Where the icon comes from: a system icon, an image list's image, or none.
struct MessageIconSource {
  LPCSTR SystemIcon = nullptr;
  TCustomImageList* Images = nullptr;
  Integer ImageIndex = -1;
};

TspMessageForm* LayOutMessageForm(const TspMessageSettings& S, const String& Msg, const String& Caption,
                                  const MessageIconSource& Icon, TMsgDlgButtons Buttons, Boolean CheckBoxAllowed,
                                  Integer X, Integer Y) {
  TOwned<TspMessageForm> Form(TspMessageForm::Create(Application, X, Y));
  TspFormSkin* DSF = Form->DSF;
  DSF->SetSkinData(S.SkinData);
  DSF->SetMenusSkinData(S.CtrlSkinData);
  DSF->SetAlphaBlend(S.AlphaBlend);
  DSF->SetAlphaBlendAnimation(S.AlphaBlendAnimation);
  DSF->SetAlphaBlendValue(S.AlphaBlendValue);
  // The frame's borders are in place before the client area is sized.
  Form->HandleNeeded();

  const Integer ButtonHeight = MessageButtonHeight(S);
  Integer Count = 0;
  for (Integer B = mbYes; B <= mbClose; ++B) Count += Buttons.Contains(static_cast<TMsgDlgBtn>(B));
  const Integer ButtonsWidth = Count > 0 ? Count * MsgButtonWidth + (Count - 1) * MsgButtonGap : 0;
  Form->SetCaption(Caption);

  TspSkinStdLabel* Label = TspSkinStdLabel::Create(Form.get());
  Form->Message = Label;
  Label->SetName("Message");
  Label->Font()->Assign(S.DefaultFont);
  Label->SetDefaultFont(S.DefaultFont);
  Label->SetUseSkinFont(S.UseSkinFont);
  Label->SetSkinDataName(S.MessageLabelSkinDataName);
  Label->SetSkinData(S.CtrlSkinData);
  Label->SetParent(Form.get());
  Label->SetAutoSize(true);
  Label->SetCaption(Msg);
  Label->SetLeft(MsgLabelLeft);
  Label->SetTop(MsgLabelTop);
  const Integer TextRight = Label->Left() + Label->Width();

  const Integer IconTop = Label->Top() + Label->Height() / 2 - 16;
  if (Icon.SystemIcon) {
    TImage* Image = TImage::Create(Form.get());
    Image->SetName("Image");
    Image->SetParent(Form.get());
    TOwned<TIcon> I = CreateOwned<TIcon>();
    I->SetHandle(LoadIcon(nullptr, Icon.SystemIcon));
    Image->Picture()->SetGraphic(I.get());
    Image->SetBounds(5, std::max(IconTop, 10), 32, 32);
  } else if (Icon.Images && Icon.ImageIndex >= 0 && Icon.ImageIndex < Icon.Images->Count()) {
    TImage* Image = TImage::Create(Form.get());
    Image->SetName("Image");
    Image->SetParent(Form.get());
    Image->SetTransparent(true);
    TOwned<TIcon> I = CreateOwned<TIcon>();
    Icon.Images->GetIcon(Icon.ImageIndex, I.get());
    Image->Picture()->SetGraphic(I.get());
    Image->SetBounds(5, IconTop, Icon.Images->Width(), Icon.Images->Height());
  }

  Integer ClientHeight = ButtonHeight + Label->Height() + 50;
  Integer ClientWidth = ButtonsWidth < TextRight ? TextRight + 40 : ButtonsWidth + 40;
  if (CheckBoxAllowed && S.ShowAgainFlag) {
    ClientHeight += 40;
    TspSkinCheckRadioBox* Box = TspSkinCheckRadioBox::Create(Form.get());
    Form->DisplayCheckBox = Box;
    Box->SetName("checkbox");
    Box->SetDefaultHeight(MsgCheckBoxHeight);
    Box->SetChecked(!S.ShowAgainFlagValue);
    Box->SetDefaultFont(S.DefaultFont);
    Box->SetUseSkinFont(S.UseSkinFont);
    Box->SetSkinData(S.CtrlSkinData);
    const Integer BoxTop = ClientHeight - ButtonHeight - 50;
    const String BoxCaption = GetShowAgainCaption(S.CtrlSkinData);
    // Measured in the font the box will draw with.
    TOwned<TBitmap> Measure = CreateOwned<TBitmap>();
    TFont* F = Measure->Canvas()->Font();
    if (Box->FIndex != -1 && S.UseSkinFont) {
      F->SetName(Box->FontName);
      F->SetHeight(Box->FontHeight);
    } else {
      F->Assign(S.DefaultFont);
    }
    const Integer TW = Measure->Canvas()->TextWidth(BoxCaption);
    ClientWidth = std::max(ClientWidth, TW + 60);
    Box->SetCaption(BoxCaption);
    Box->SetParent(Form.get());
    Box->SetBounds(5, BoxTop, TW + 55, Box->DefaultHeight());
  }
  Form->SetClientWidth(ClientWidth);
  Form->SetClientHeight(ClientHeight);

  const Integer MaxWidth = DSF->GetMaxWidth(), MinWidth = DSF->GetMinWidth();
  if (MaxWidth < Form->Width())
    Form->SetWidth(MaxWidth);
  else if (Form->Width() < MinWidth)
    Form->SetWidth(MinWidth);

  // A frame cannot be composed smaller than its skin's fixed parts: a box shorter than
  // that would keep an unpainted caption and border.
  if (const Integer MinHeight = DSF->GetMinHeight(); Form->Height() < MinHeight) {
    Form->SetHeight(MinHeight);
    ClientHeight = Form->ClientHeight();
  }

  const TMsgDlgBtn DefaultButton = Buttons.Contains(mbOK) ? mbOK : Buttons.Contains(mbYes) ? mbYes : mbRetry;
  const TMsgDlgBtn CancelButton = Buttons.Contains(mbCancel) ? mbCancel : Buttons.Contains(mbNo) ? mbNo : mbOK;
  Integer ButtonX = (Form->ClientWidth() - ButtonsWidth) / 2;
  for (Integer Ord = mbYes; Ord <= mbClose; ++Ord) {
    const auto B = static_cast<TMsgDlgBtn>(Ord);
    if (!Buttons.Contains(B)) continue;
    TspSkinButton* Button = TspSkinButton::Create(Form.get());
    Button->SetName(MessageButtonName(B));
    Button->SetParent(Form.get());
    Button->SetCanFocused(true);
    Button->SetCaption(GetButtonCaption(B, S.CtrlSkinData));
    Button->SetModalResult(MessageButtonResult(B));
    Button->SetDefault(B == DefaultButton);
    Button->SetCancel(B == CancelButton);
    Button->SetDefaultHeight(ButtonHeight);
    Button->SetBounds(ButtonX, ClientHeight - ButtonHeight - 10, MsgButtonWidth, ButtonHeight);
    Button->SetDefaultFont(S.DefaultButtonFont);
    Button->SetUseSkinFont(S.UseSkinFont);
    Button->SetSkinDataName(S.ButtonSkinDataName);
    Button->SetSkinData(S.CtrlSkinData);
    if (B == mbHelp) Button->OnClick = [Raw = Form.get()](TObject* Sender) { Raw->HelpButtonClick(Sender); };
    ButtonX += MsgButtonWidth + MsgButtonGap;
  }
  return Form.release();
}

}  // namespace

TspMessageForm::TspMessageForm(TComponent* AOwner, Integer X, Integer Y) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetKeyPreview(true);
  if (X < spMessageCentred) {
    SetPosition(poScreenCenter);
  } else {
    SetLeft(X);
    SetTop(Y);
  }
  DSF = TspFormSkin::Create(this);
  DSF->SetBorderIcons(TspBorderIcons{});
  DSF->SetSizeable(false);
}

void TspMessageForm::HelpButtonClick(TObject*) {
  if (Application) Application->HelpContext(HelpContext());
}

TspMessageForm* BuildTypedMessageForm(const TspMessageSettings& S, const String& Msg, TMsgDlgType DlgType,
                                      TMsgDlgButtons Buttons, Integer X, Integer Y) {
  const String Caption =
      DlgType == mtCustom ? (Application ? Application->Title() : String()) : GetDialogTypeCaption(DlgType, S.CtrlSkinData);
  return LayOutMessageForm(S, Msg, Caption, {MessageTypeIcon(DlgType)}, Buttons, true, X, Y);
}

TspMessageForm* BuildCaptionedMessageForm(const TspMessageSettings& S, const String& Msg, const String& ACaption,
                                          TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer X, Integer Y) {
  return LayOutMessageForm(S, Msg, ACaption, {MessageTypeIcon(DlgType)}, Buttons, true, X, Y);
}

TspMessageForm* BuildCustomMessageForm(const TspMessageSettings& S, const String& Msg, const String& ACaption,
                                       TCustomImageList* AImages, Integer AImageIndex, TMsgDlgButtons Buttons,
                                       Integer X, Integer Y) {
  return LayOutMessageForm(S, Msg, ACaption, {nullptr, AImages, AImageIndex}, Buttons, true, X, Y);
}

TspMessageForm* BuildWideMessageForm(const TspMessageSettings& S, const String& Msg, TMsgDlgType DlgType,
                                     TMsgDlgButtons Buttons, Integer X, Integer Y) {
  const String Caption =
      DlgType == mtCustom ? (Application ? Application->Title() : String()) : GetDialogTypeCaption(DlgType, S.CtrlSkinData);
  return LayOutMessageForm(S, Msg, Caption, {MessageTypeIcon(DlgType)}, Buttons, false, X, Y);
}
