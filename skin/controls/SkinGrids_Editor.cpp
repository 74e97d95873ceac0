// The grid's side of in-place editing: creating the editor, loading it for the current
// cell, placing it over the cell, and storing its text back into the cell.
#include "platform/win/Edit.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinGrids.h"

TspSkinInplaceEdit* TspSkinCustomGrid::CreateEditor() { return new TspSkinInplaceEdit(this); }

void TspSkinCustomGrid::UpdateEdit() {
  if (!CanEditShow()) return;
  const auto Reload = [this] {
    FInplaceEdit->SetTransparent((FIndex >= 0 && BGPicture) || FTransparent);
    FInplaceCol = FCurrent.X;
    FInplaceRow = FCurrent.Y;
    TFont* EF = FInplaceEdit->Font();
    if (FIndex < 0) {
      FInplaceEdit->SetColor(clWindow);
      EF->Assign(Font());
    } else {
      FInplaceEdit->SetColor(BGColor);
      if (FUseSkinFont) {
        EF->SetName(FontName);
        EF->SetColor(FontColor);
        EF->SetStyle(FontStyle);
        EF->SetHeight(FontHeight);
        EF->SetCharset(Font()->Charset());
      } else {
        EF->Assign(Font());
        EF->SetColor(FontColor);
      }
    }
    TspResourceStrData* Strings = FSD ? FSD->ResourceStrData() : nullptr;
    EF->SetCharset(Strings ? Strings->CharSet() : Font()->Charset());
    FInplaceEdit->UpdateContents();
    FCanEditModify = FInplaceEdit->EditLimit() != -1;
    FInplaceEdit->SelectAll();
  };
  if (!FInplaceEdit) {
    FInplaceEdit = CreateEditor();
    FInplaceEdit->SetGrid(this);
    FInplaceEdit->SetParent(this);
    Reload();
  } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
    HideEdit();
    Reload();
  }
  if (CanEditShow()) FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
}

void TspSkinCustomGrid::HideEdit() {
  if (!FInplaceEdit) return;
  struct HideAfter {
    TspSkinCustomGrid* G;
    ~HideAfter() {
      G->FInplaceCol = -1;
      G->FInplaceRow = -1;
      G->FInplaceEdit->Hide();
    }
  } Guard{this};
  UpdateText();
}

void TspSkinCustomGrid::UpdateText() {
  if (FInplaceCol != -1 && FInplaceRow != -1) SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TspSkinCustomGrid::ShowEditorChar(char32_t Ch) {
  ShowEditor();
  // Posted, so it arrives after the editor was loaded and selected its text: typing
  // replaces the cell's text.
  if (FInplaceEdit) PostMessage(FInplaceEdit->Handle(), WM_CHAR, Ch, 0);
}

void TspSkinCustomGrid::TopLeftChanged() {
  if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
}
