// Skinned modal message boxes: TspSkinMessage builds a TspMessageForm per call (icon,
// auto-sized text, an optional "show again" check box, one skinned button per answer),
// shows it modally, frees it and returns the answer.
#pragma once

#include <functional>

#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"

// Moves a dialog before it shows: its corner in and out, its size.
using TspMessageSetShowPosEvent = std::function<void(Integer& AX, Integer& AY, Integer AWidth, Integer AHeight)>;

// X below this: centred on the screen.
constexpr Integer spMessageCentred = -10000;

// The caption of a button, and of a kind of message: from the text table of ASkinData when
// it has one (whatever the table answers), else the built-in text.
String GetButtonCaption(TMsgDlgBtn Button, TspSkinData* ASkinData);
String GetDialogTypeCaption(TMsgDlgType DlgType, TspSkinData* ASkinData);
// The check box's caption: the table's, or the built-in one when the table has none.
String GetShowAgainCaption(TspSkinData* ASkinData);
// The answer a button gives (0: it closes nothing), and its component's name.
TModalResult MessageButtonResult(TMsgDlgBtn Button);
String MessageButtonName(TMsgDlgBtn Button);

class TspMessageForm : public TForm {
  VANTREL_CLASS(TspMessageForm)
  // An empty dialog centred on the screen (X < -10000) or at (X, Y), with a frame
  // component that has no caption buttons and cannot be sized.
  TspMessageForm(TComponent* AOwner, Integer X, Integer Y);

  TspFormSkin* DSF = nullptr;
  TspSkinCheckRadioBox* DisplayCheckBox = nullptr;
  TspSkinStdLabel* Message = nullptr;

  // Asks the help for the dialog's help context; the dialog stays open.
  void HelpButtonClick(TObject* Sender);
};

// Everything of the component a dialog is built from.
struct TspMessageSettings {
  TspSkinData* SkinData = nullptr;
  TspSkinData* CtrlSkinData = nullptr;
  String ButtonSkinDataName;
  String MessageLabelSkinDataName;
  TFont* DefaultFont = nullptr;
  TFont* DefaultButtonFont = nullptr;
  Boolean UseSkinFont = true;
  Boolean AlphaBlend = false;
  Boolean AlphaBlendAnimation = false;
  Byte AlphaBlendValue = 200;
  Boolean ShowAgainFlag = false;
  Boolean ShowAgainFlagValue = false;
};

// The builders: caption and icon by kind (mtCustom: the application's title, no icon), by
// kind with a caption given, from an image list, and by kind without a check box.
TspMessageForm* BuildTypedMessageForm(const TspMessageSettings& S, const String& Msg, TMsgDlgType DlgType,
                                      TMsgDlgButtons Buttons, Integer X, Integer Y);
TspMessageForm* BuildCaptionedMessageForm(const TspMessageSettings& S, const String& Msg, const String& ACaption,
                                          TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer X, Integer Y);
TspMessageForm* BuildCustomMessageForm(const TspMessageSettings& S, const String& Msg, const String& ACaption,
                                       TCustomImageList* AImages, Integer AImageIndex, TMsgDlgButtons Buttons,
                                       Integer X, Integer Y);
TspMessageForm* BuildWideMessageForm(const TspMessageSettings& S, const String& Msg, TMsgDlgType DlgType,
                                     TMsgDlgButtons Buttons, Integer X, Integer Y);

class TspSkinMessage : public TComponent {
  VANTREL_CLASS(TspSkinMessage)
  explicit TspSkinMessage(TComponent* AOwner);
  ~TspSkinMessage() override;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  TspSkinData* CtrlSkinData() const { return FCtrlFSD; }
  void SetCtrlSkinData(TspSkinData* Value);
  const String& ButtonSkinDataName() const { return FButtonSkinDataName; }
  void SetButtonSkinDataName(const String& Value) { FButtonSkinDataName = Value; }
  const String& MessageLabelSkinDataName() const { return FMessageLabelSkinDataName; }
  void SetMessageLabelSkinDataName(const String& Value) { FMessageLabelSkinDataName = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  TFont* DefaultButtonFont() const { return FDefaultButtonFont.get(); }
  void SetDefaultButtonFont(TFont* Value) { FDefaultButtonFont->Assign(Value); }
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Boolean AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(Boolean Value) { FAlphaBlend = Value; }
  Boolean AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(Boolean Value) { FAlphaBlendAnimation = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  Boolean ShowAgainFlag() const { return FShowAgainFlag; }
  void SetShowAgainFlag(Boolean Value) { FShowAgainFlag = Value; }
  Boolean ShowAgainFlagValue() const { return FShowAgainFlagValue; }
  void SetShowAgainFlagValue(Boolean Value) { FShowAgainFlagValue = Value; }
  TspMessageSetShowPosEvent OnSetShowPos;

  Integer MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
  Integer MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                         const String& HelpFileName);
  Integer MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx, Integer X,
                        Integer Y);
  Integer MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                      Integer HelpCtx);
  Integer MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                          Integer HelpCtx, const String& HelpFileName);
  Integer CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages, Integer AImageIndex,
                           TMsgDlgButtons Buttons, Integer HelpCtx);
  Integer CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                              Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx, Integer X, Integer Y);
  Integer CustomMessageDlgHelp(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                               Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                               const String& HelpFileName);
  // Strings are UTF-8 throughout, so the wide variants differ only in never offering the
  // check box.
  Integer WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
  Integer WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                            Integer X, Integer Y);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TspMessageSettings Settings() const;
  // Steps 2-6 of every call: help context and file, the position hook, the modal run, the
  // check box's answer, freeing the dialog.
  Integer Run(TspMessageForm* Form, Integer HelpCtx, const String* HelpFileName, Boolean AskShowPos);

  TspSkinData* FSD = nullptr;
  TspSkinData* FCtrlFSD = nullptr;
  String FButtonSkinDataName = "button";
  String FMessageLabelSkinDataName = "stdlabel";
  TOwned<TFont> FDefaultFont;
  TOwned<TFont> FDefaultButtonFont;
  Boolean FUseSkinFont = true;
  Boolean FAlphaBlend = false;
  Boolean FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 200;
  Boolean FShowAgainFlag = false;
  Boolean FShowAgainFlagValue = false;
};
