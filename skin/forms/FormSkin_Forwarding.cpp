// Passing a skin change on to the form's skinned controls, the controls kept on skin areas
// in client mode, and the background notice to the form's children.
#include "skin/forms/FormSkin.h"

#include <algorithm>
#include <functional>

#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"

namespace {

Boolean FormSkinBoundTo(TspSkinData* Control, TspSkinData* Changed) { return !Changed || Control == Changed; }

// Control first, then its children in index order, windowed ones with their own children.
void FormSkinWalkControls(TControl* Control, const std::function<void(TControl*)>& Visit) {
  Visit(Control);
  auto* W = dynamic_cast<TWinControl*>(Control);
  if (!W) return;
  for (Integer I = 0; I < W->ControlCount(); ++I) FormSkinWalkControls(W->Controls(I), Visit);
}

// One row of the walk for the skinned controls that derive from neither base (edits, memo,
// labels, views, bevel): true when the control is a T (whose ChangeSkinData ran when it
// is bound to the changed skin).
template <class T>
Boolean FormSkinForwardRow(TControl* C, TspSkinData* Changed) {
  auto* X = dynamic_cast<T*>(C);
  if (!X) return false;
  if (FormSkinBoundTo(X->SkinData(), Changed)) X->ChangeSkinData();
  return true;
}

}  // namespace

void TspFormSkin::SendBeforeChangeToControls(TspSkinData* ASkinData, TWinControl* Control) {
  if (!Control) return;
  FormSkinWalkControls(Control, [ASkinData](TControl* C) {
    if (auto* S = dynamic_cast<TspSkinControl*>(C)) {
      if (FormSkinBoundTo(S->SkinData(), ASkinData)) S->BeforeChangeSkinData();
    } else if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C)) {
      if (FormSkinBoundTo(G->SkinData(), ASkinData)) G->BeforeChangeSkinData();
    }
  });
}

void TspFormSkin::SendChangeToControls(TspSkinData* ASkinData, TWinControl* Control) {
  if (!Control) return;
  FormSkinWalkControls(Control, [ASkinData](TControl* C) {
    if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C)) {
      if (FormSkinBoundTo(G->SkinData(), ASkinData)) G->ChangeSkinData();
    } else if (auto* S = dynamic_cast<TspSkinControl*>(C)) {
      if (FormSkinBoundTo(S->SkinData(), ASkinData)) S->ChangeSkinData();
    } else {
      // The first class that matches decides.
      FormSkinForwardRow<TspSkinCustomEdit>(C, ASkinData) || FormSkinForwardRow<TspSkinMemo>(C, ASkinData) ||
          FormSkinForwardRow<TspSkinLinkLabel>(C, ASkinData) || FormSkinForwardRow<TspSkinButtonLabel>(C, ASkinData) ||
          FormSkinForwardRow<TspSkinStdLabel>(C, ASkinData) || FormSkinForwardRow<TspSkinTextLabel>(C, ASkinData) ||
          FormSkinForwardRow<TspSkinCustomTreeView>(C, ASkinData) ||
          FormSkinForwardRow<TspSkinCustomListView>(C, ASkinData) || FormSkinForwardRow<TspSkinBevel>(C, ASkinData);
    }
  });
}

void TspFormSkin::LinkControlToArea(const String& AreaName, TControl* Control) {
  if (!FSD || !Control) return;
  const Integer I = FSD->GetAreaIndex(AreaName);
  if (I == -1) return;
  const TRect R = FSD->AreaList[I]->AreaRect;
  if (R == TRect{}) return;
  Control->SetAlign(alNone);
  AreaList.push_back(TspLinkedArea{Control, R});
  Control->FreeNotification(this);
}

void TspFormSkin::UnLinkControlFromArea(TControl* Control) {
  auto It = std::find_if(AreaList.begin(), AreaList.end(),
                         [Control](const TspLinkedArea& L) { return L.Control == Control; });
  if (It == AreaList.end()) return;
  AreaList.erase(It);
  if (std::none_of(AreaList.begin(), AreaList.end(), [Control](const TspLinkedArea& L) { return L.Control == Control; }))
    Control->RemoveFreeNotification(this);
}

void TspFormSkin::UpdateLinkedControls() {
  if (AreaList.empty()) return;
  const Boolean Stretch = IsSkinResizable();
  for (const TspLinkedArea& L : AreaList) {
    TRect R = L.Area;
    if (Stretch) CalcNewRect(L.Area, R);
    L.Control->SetBounds(R.Left, R.Top, RectWidth(R), RectHeight(R));
    if (auto* W = dynamic_cast<TWinControl*>(L.Control)) W->Realign();
  }
}

// The first area of that name, as linking finds it.
TRect TspFormSkin::GetAreaRect(const String& AIDName) const {
  if (!FSD || FSD->Empty) return TRect{};
  const Integer I = FSD->GetAreaIndex(AIDName);
  return I == -1 ? TRect{} : FSD->AreaList[I]->AreaRect;
}

void TspFormSkin::CheckControlsBackground() {
  for (Integer I = 0; I < FForm->ControlCount(); ++I)
    if (auto* W = dynamic_cast<TWinControl*>(FForm->Controls(I)))
      if (W->HandleAllocated()) SendMessage(W->Handle(), WM_SKIN_CHECK_PARENT_BACKGROUND, 0, 0);
}
