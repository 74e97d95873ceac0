// The layered border of a skinned form: a translucent frame from the skin's layer-frame
// picture, shown as four layered pop-ups around the form that follow its moves, sizes,
// roll-up, alpha and activation. A full border also carries the form's caption objects in
// its top window; the side windows size, move and double-click the form for the user.
#pragma once

#include <memory>

#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/data/SkinData.h"

class TspFormSkin;
class TspFormLayerBorder;

enum TspFormLayerBorderType { spflLeft, spflTop, spflRight, spflBottom };
enum TspFormLayerBorderHit {
  spflhNone,
  spflhLeft,
  spflhTop,
  spflhRight,
  spflhBottom,
  spflhTopLeft,
  spflhTopRight,
  spflhBottomLeft,
  spflhBottomRight,
  spflCaption,
  spflObject
};

class TspFormLayerWindow : public TForm {
  VANTREL_CLASS(TspFormLayerWindow)
  explicit TspFormLayerWindow(TComponent* AOwner) : TForm(AOwner) {}
  static TspFormLayerWindow* CreateEx(TComponent* AOwner, TForm* AForm);

  Boolean CanSize();
  TspFormLayerBorderHit GetHitMode(Integer X, Integer Y);

  Boolean FDown = false;
  TForm* FForm = nullptr;
  TspFormLayerBorder* FLayerBorder = nullptr;
  TPoint MousePos1{}, MousePos2{};
  TspFormLayerBorderHit FHitMode = spflhNone;
  Boolean FInProcessMessages = false;
  TspFormLayerBorderType BorderType = spflTop;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void WndProc(TMessage& Message) override;

 private:
  void WMLButtonDblClk(TMessage& Message);
  void WMMouseActivate(TMessage& Message);
  // One step of a drag through the border: bounds set, pending messages handled.
  void DragStep(Integer L, Integer T, Integer W, Integer H);
  void ProcessDragMessages();
  void DragMove(Integer dx, Integer dy);
  Boolean FTransparentToMouse = false;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);

 public:
  ~TspFormLayerWindow() override { *FAlive = false; }
};

class TspFormLayerBorder : public TComponent {
  VANTREL_CLASS(TspFormLayerBorder)
  explicit TspFormLayerBorder(TComponent* AOwner);
  ~TspFormLayerBorder() override;
  void BeforeDestruction() override;

  void InitFrame(TspSkinData* ASkinData, TForm* AForm);
  void Show(Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void Hide();
  void SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void Draw(TCanvas* C, Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void ShowWithForm();
  void ShowWithFormAnimation();
  void SetBoundsWithForm();
  void SetBoundsWithForm2(Integer AW, Integer AH);
  void SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AW, Integer AH);
  void MoveWithForm();
  void MoveWithForm2(Integer ALeft, Integer ATop);
  void SetAlphaBlend();
  void SetAlphaBlend2();
  void CheckFormAlpha(Integer AFormAlpha, Boolean AUpdate);
  void SetActive(Boolean AValue, Boolean AUpdate);
  void TestActiveObject(Integer X, Integer Y);
  void MouseTimerProc(TObject* Sender);
  void CreateBlurMaskRegions();
  void CreateBlurRegions();
  void CreateBorderImages(Integer AW, Integer AH);
  void ArrangeCaptionObjects();
  // The border's rectangle around the form bounds L, T, FW, FH (with the rolled-up height
  // when the frame shows the form rolled up and RollUp allows it).
  TRect BorderRectForForm(Integer L, Integer T, Integer FW, Integer FH, Boolean RollUp = true) const;

  Boolean Visible() const { return FVisible; }
  Boolean Active() const { return FActive; }
  TspDataSkinLayerFrame* Data() const { return FData; }
  Boolean FullBorder() const { return FData && FData->FullBorder; }

  TspFormSkin* DSF = nullptr;
  Boolean FIsAeroEnabled = false;
  TTimer* MouseTimer = nullptr;
  TForm* FForm = nullptr;
  Boolean FVisible = false;
  TspSkinData* FSD = nullptr;
  TspDataSkinLayerFrame* FData = nullptr;
  TOwned<TspBitmap> FSourceBitmap;
  TOwned<TspBitmap> FSourceInActiveBitMap;
  TOwned<TspBitmap> LeftImage, TopImage, RightImage, BottomImage;
  ::TspFormLayerWindow* LeftBorder = nullptr;
  ::TspFormLayerWindow* TopBorder = nullptr;
  ::TspFormLayerWindow* RightBorder = nullptr;
  ::TspFormLayerWindow* BottomBorder = nullptr;
  Integer FWidth = 0, FHeight = 0;
  Integer LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
  Integer HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
  Integer HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
  Integer OldActiveObject = -1, ActiveObject = -1, MouseCaptureObject = -1;
  HRGN DataRgn1 = nullptr, DataRgn2 = nullptr, DataRgn3 = nullptr, DataRgn4 = nullptr;
  HRGN TopRgn = nullptr, BottomRgn = nullptr, RightRgn = nullptr, LeftRgn = nullptr;
  Boolean FActive = true;
  Integer FCurrentAlphaBlendValue = -1;
  Integer FCurrentInActiveAlphaBlendValue = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TspBitmap* CurrentSource() const;
  Integer CurrentAlpha() const;
  Integer TopH() const { return TopImage ? TopImage->Height() : 0; }
  Integer BottomH() const { return BottomImage ? BottomImage->Height() : 0; }
  Integer RightW() const { return RightImage ? RightImage->Width() : 0; }
  void FreeWindows();
  void DeleteRegions();
  void PutImage(::TspFormLayerWindow* W, TspBitmap* Image, HRGN BlurRgn);
  void PlaceWindows(Integer X, Integer Y, Integer AWidth, Integer AHeight, Boolean Show);
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
