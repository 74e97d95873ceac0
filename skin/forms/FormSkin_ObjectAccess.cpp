// The frame's objects reached by name: values and texts read and set, animations started
// and stopped, user objects drawn.
#include "skin/forms/FormSkin.h"

#include "platform/win/WindowDc.h"

#include "skin/forms/FormSkinCaption.h"
#include "skin/forms/FormSkinFrameObjects.h"
#include "skin/forms/FormSkinObjects.h"

namespace {

// The first object of that exact name when it is of kind T; nil otherwise.
template <class T>
T* FormSkinNamedObject(const TspFormSkin* FS, const String& AIDName) {
  return dynamic_cast<T*>(FS->ObjectAt(FS->GetIndex(AIDName)));
}

}  // namespace

Integer TspFormSkin::GetIndex(const String& AIDName) const {
  for (Integer I = 0; I < ObjectCount(); ++I)
    if (ObjectList[static_cast<size_t>(I)]->IDName == AIDName) return I;
  return -1;
}

void TspFormSkin::UserObjectDraw(const String& AIDName) {
  auto* O = FormSkinNamedObject<TspUserObject>(this, AIDName);
  if (!O || !FForm->HandleAllocated()) return;
  // The form's own (client) canvas.
  HDC DC = GetDC(FForm->Handle());
  auto C = CreateOwned<TCanvas>();
  C->SetHandle(DC);
  O->Draw(C.get(), true);
  C->SetHandle(nullptr);
  ReleaseDC(FForm->Handle(), DC);
}

void TspFormSkin::AnimateStart(const String& AIDName) {
  if (auto* O = FormSkinNamedObject<TspSkinAnimateObject>(this, AIDName)) O->Start();
}

void TspFormSkin::AnimateStop(const String& AIDName) {
  if (auto* O = FormSkinNamedObject<TspSkinAnimateObject>(this, AIDName)) O->Stop();
}

Integer TspFormSkin::TrackBarGetValue(const String& AIDName) const {
  auto* O = FormSkinNamedObject<TspSkinTrackBarObject>(this, AIDName);
  return O ? O->Value() : 0;
}

void TspFormSkin::TrackBarSetValue(const String& AIDName, Integer AValue) {
  auto* O = FormSkinNamedObject<TspSkinTrackBarObject>(this, AIDName);
  if (!O) return;
  if (FInChangeSkinData)
    O->SimplySetValue(AValue);
  else
    O->SetValue(AValue);
}

Integer TspFormSkin::FrameRegulatorGetValue(const String& AIDName) const {
  auto* O = FormSkinNamedObject<TspSkinFrameRegulatorObject>(this, AIDName);
  return O ? O->Value() : 0;
}

void TspFormSkin::FrameRegulatorSetValue(const String& AIDName, Integer AValue) {
  auto* O = FormSkinNamedObject<TspSkinFrameRegulatorObject>(this, AIDName);
  if (!O) return;
  if (FInChangeSkinData)
    O->SimplySetValue(AValue);
  else
    O->SetValue(AValue);
}

void TspFormSkin::GaugeSetValue(const String& AIDName, Integer AValue) {
  auto* O = FormSkinNamedObject<TspSkinGaugeObject>(this, AIDName);
  if (!O) return;
  if (FInChangeSkinData)
    O->SimplySetValue(AValue);
  else
    O->SetValue(AValue);
}

void TspFormSkin::FrameGaugeSetValue(const String& AIDName, Integer AValue) {
  auto* O = FormSkinNamedObject<TspSkinFrameGaugeObject>(this, AIDName);
  if (!O) return;
  if (FInChangeSkinData)
    O->SimplySetValue(AValue);
  else
    O->SetValue(AValue);
}

void TspFormSkin::BitLabelSetText(const String& AIDName, const String& AValue) {
  if (auto* O = FormSkinNamedObject<TspSkinBitLabelObject>(this, AIDName)) O->SetTextValue(AValue, !FInChangeSkinData);
}

void TspFormSkin::LabelSetText(const String& AIDName, const String& ATextValue) {
  if (auto* O = FormSkinNamedObject<TspSkinLabelObject>(this, AIDName))
    O->SetTextValue(ATextValue, !FInChangeSkinData);
}

void TspFormSkin::SwitchSetState(const String& AIDName, TSwitchState Value) {
  auto* O = FormSkinNamedObject<TspSkinSwitchObject>(this, AIDName);
  if (!O) return;
  if (FInChangeSkinData)
    O->SimpleSetState(Value);
  else
    O->SetState(Value);
}

TSwitchState TspFormSkin::SwitchGetState(const String& AIDName) const {
  auto* O = FormSkinNamedObject<TspSkinSwitchObject>(this, AIDName);
  return O ? O->State() : swsOff;
}

void TspFormSkin::LinkMenu(const String& AIDName, TMenu* AMenu, Boolean APopupUp) {
  TspActiveSkinObject* O = ObjectAt(GetIndex(AIDName));
  TMenuItem* Items = AMenu ? AMenu->Items() : nullptr;
  if (auto* B = dynamic_cast<TspSkinButtonObject*>(O)) {
    B->MenuItem = Items;
    B->FPopupUp = APopupUp;
  } else if (auto* A = dynamic_cast<TspSkinAnimateObject*>(O); A && A->ButtonStyle) {
    A->MenuItem = Items;
    A->FPopupUp = APopupUp;
  }
}

void TspFormSkin::SetEnabled(const String& AIDName, Boolean Value) {
  if (auto* O = ObjectAt(GetIndex(AIDName))) O->Enabled = Value;
}

void TspFormSkin::CaptionSetText(const String& AIDName, const String& AText) {
  auto* C = FormSkinNamedObject<TspSkinCaptionObject>(this, AIDName);
  if (!C) return;
  if (FInChangeSkinData)
    C->SimpleSetTextValue(AText);
  else
    C->SetTextValue(AText);
}

Boolean TspFormSkin::ButtonGetDown(const String& AIDName) const {
  auto* B = FormSkinNamedObject<TspSkinButtonObject>(this, AIDName);
  return B && B->Down();
}

void TspFormSkin::ButtonSetDown(const String& AIDName, Boolean ADown) {
  if (auto* B = FormSkinNamedObject<TspSkinButtonObject>(this, AIDName)) B->SetDown(ADown);
}
