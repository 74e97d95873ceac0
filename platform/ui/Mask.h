// The class library's masked edit: an edit whose mask fixes which character may stand at
// each position. Literals stay in place, typing overwrites, the caret skips literals, and
// leaving the control with a required position blank is refused. The native EDIT window
// keeps the shown text; the mask works in the message handlers, so a subclass of the
// window sees the usual messages. Without a mask it is a plain TCustomEdit.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Edits.h"
#include "platform/ui/MaskUtils.h"

VANTREL_EXCEPTION(EDBEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
  VANTREL_CLASS(TCustomMaskEdit)
  explicit TCustomMaskEdit(TComponent* AOwner);
  ~TCustomMaskEdit() override;

  const String& EditMask() const { return FEditMask; }
  // Reformats the text for the new mask and limits the length to its positions.
  void SetEditMask(const String& Value);
  // The text as shown: literals and blank characters included.
  String EditText();
  void SetEditText(const String& Value);
  Boolean IsMasked() const { return FMask.IsMasked(); }
  // Back to the text the edit had when it got the focus.
  void Reset();
  // Raises EDBEditError (focus and caret back on the first blank required position) when
  // a masked, modified text is incomplete; runs when the focus moves to another control.
  virtual void ValidateEdit();

 protected:
  // False refuses every change by keys and clipboard commands.
  virtual Boolean EditCanModify() { return true; }
  // The mask's check of Value; false with Pos at the first blank required position.
  Boolean Validate(const String& Value, Integer& Pos);
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  String GetText() override;
  void Dispatch(TMessage& Message) override;
  void CMEnter(TWMNoParams& Message) override;
  void CMExit(TWMNoParams& Message) override;
  void CMWantSpecialKey(TCMWantSpecialKey& Message) override;

  const TMaskInfo& Mask() const { return FMask; }

 private:
  std::pair<Integer, Integer> GetSel();
  void SetSel(Integer Start, Integer End);
  // Replaces [Start, End) of the shown text through the window, as an edit of the user.
  void ReplaceRange(Integer Start, Integer End, const std::u32string& With);
  // The empty characters of [Start, End).
  std::u32string EmptyRange(Integer Start, Integer End) const;
  void BlankSelection();
  void CharKey(char32_t Key);
  void DeleteKey(Word Key);
  void PasteText();

  String FEditMask;
  TMaskInfo FMask;
  String FOldValue;
  Boolean FReEnter = false;    // the focus came back from a refused exit
  Boolean FSettingRaw = false; // a shown text goes to the window as it is
};

class TMaskEdit : public TCustomMaskEdit {
  VANTREL_CLASS(TMaskEdit)
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
