// The class library's edits on the native EDIT window: TCustomEdit (one line: selection,
// clipboard, undo, limits, password and case, change events) and TCustomMemo (several
// lines with Lines as a string list over the text, word wrap, scroll bars, alignment).
// The windows come from CreateSubClass(Params, "EDIT"), so a descendant can subclass them
// and sees the native control's messages.
#pragma once

#include <memory>

#include "platform/rtl/StringList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

using TBorderStyle = TFormBorderStyle;  // bsNone or bsSingle for an edit
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TWinControl {
  VANTREL_CLASS(TCustomEdit)
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  Boolean AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(Boolean Value) { FAutoSelect = Value; }
  // An edit's AutoSize keeps its height to the font's (with a single border); it is set
  // when the window is made and when the font changes, never on other resizes.
  Boolean AutoSize() const { return FEditAutoSize; }
  void SetAutoSize(Boolean Value) override;
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  Boolean Ctl3D() const { return FCtl3D; }
  void SetCtl3D(Boolean Value);
  Boolean HideSelection() const { return FHideSelection; }
  void SetHideSelection(Boolean Value);
  // 0: no limit.
  Integer MaxLength() const { return FMaxLength; }
  virtual void SetMaxLength(Integer Value);
  Boolean Modified();
  void SetModified(Boolean Value);
  char32_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char32_t Value);
  Boolean ReadOnly() const { return FReadOnly; }
  void SetReadOnly(Boolean Value);
  // Positions count code points.
  virtual Integer SelStart();
  virtual void SetSelStart(Integer Value);
  virtual Integer SelLength();
  virtual void SetSelLength(Integer Value);
  virtual String SelText();
  virtual void SetSelText(const String& Value);
  Boolean CanUndo();

  void Undo();
  void ClearUndo();
  virtual void Clear();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void SelectAll();

  TNotifyEvent OnChange;

 protected:
  // Raises OnChange; runs for every change of the text, once for a Text assignment.
  virtual void Change();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void CMEnter(TWMNoParams& Message) override;
  void CMFontChanged(TWMNoParams& Message) override;
  virtual void CNCommand(TWMCommand& Message);
  // Height from the font when AutoSize and the border is single.
  void AdjustHeight();

 private:
  void UpdateHeight();

  Boolean FAutoSelect = true;
  Boolean FEditAutoSize = true;
  TBorderStyle FBorderStyle = bsSingle;
  TEditCharCase FCharCase = ecNormal;
  Boolean FCtl3D = true;
  Boolean FHideSelection = true;
  Integer FMaxLength = 0;
  Boolean FModified = false;
  char32_t FPasswordChar = 0;
  Boolean FReadOnly = false;
  // Kept while the window is recreated.
  Integer FSavedSelStart = -1;
  Integer FSavedSelLength = 0;
  int FChanges = 0;  // Change calls, to tell whether a Text assignment ran one
};

class TEdit : public TCustomEdit {
  VANTREL_CLASS(TEdit)
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TCustomMemo : public TCustomEdit {
  VANTREL_CLASS(TCustomMemo)
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // The lines of the text (kept as the control's text while no window exists).
  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  Boolean WantReturns() const { return FWantReturns; }
  void SetWantReturns(Boolean Value) { FWantReturns = Value; }
  Boolean WantTabs() const { return FWantTabs; }
  void SetWantTabs(Boolean Value) { FWantTabs = Value; }
  Boolean WordWrap() const { return FWordWrap; }
  void SetWordWrap(Boolean Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char32_t& Key) override;
  void WMGetDlgCode(TWMNoParams& Message) override;

 private:
  TAlignment FAlignment = taLeftJustify;
  std::unique_ptr<TStrings> FLines;
  TScrollStyle FScrollBars = ssNone;
  Boolean FWantReturns = true;
  Boolean FWantTabs = false;
  Boolean FWordWrap = true;
};

class TMemo : public TCustomMemo {
  VANTREL_CLASS(TMemo)
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
