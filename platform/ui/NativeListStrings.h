// The items of a native list window (list box, combo box) as a TStrings: messages to the
// window while it exists, a saved string list while it does not. A table of message
// numbers tells which window it speaks to.
#pragma once

#include <functional>

#include "platform/rtl/StringList.h"
#include "platform/ui/Controls.h"

struct TNativeListMessages {
  UINT Add, Insert, Delete, Reset, Count, GetText, GetTextLen, GetData, SetData, FindExact;
};

class TNativeListStrings : public TStrings {
  VANTREL_CLASS(TNativeListStrings)
  // Saved holds the rows while Control has no window; Sorted tells whether additions
  // keep them sorted.
  TNativeListStrings(TWinControl* Control, TStringList* Saved, const TNativeListMessages& Messages,
                     std::function<bool()> Sorted)
      : FControl(Control), FSaved(Saved), FMessages(Messages), FSorted(std::move(Sorted)) {}

  Integer Count() const override;
  String Get(Integer Index) const override;
  void Put(Integer Index, const String& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  Integer Add(const String& S) override;
  Integer AddObject(const String& S, TObject* AObject) override;
  void Insert(Integer Index, const String& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  Integer IndexOf(const String& S) const override;

  // The selected row, kept across Put (a row replaced is deleted and inserted again).
  std::function<Integer()> GetSelected;
  std::function<void(Integer)> SetSelected;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  void CheckIndex(Integer Index) const;
  LRESULT Send(UINT Msg, WPARAM WParam, LPARAM LParam) const;
  TWinControl* FControl;
  TStringList* FSaved;
  TNativeListMessages FMessages;
  std::function<bool()> FSorted;
};
