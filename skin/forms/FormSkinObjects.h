// The skin objects of a form's frame: rectangles of the skin's frame picture that the
// frame component lays on the window and treats as small windowless controls (drawn into
// the frame, hit-tested against a mask, told about the mouse, morphing between their
// normal and active looks, glowing beside the window on hover). The frame component owns
// them in its object list and rebuilds them whenever a skin is applied.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "skin/core/data/SkinData.h"

class TspFormSkin;
class TspBitmap;
class TMenuItem;
class TspLayerManager;

class TspActiveSkinObject : public TObject {
  VANTREL_CLASS(TspActiveSkinObject)
  // AData may be nil: then only the parent, the skin and the initial states are set.
  TspActiveSkinObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  // The mask test; X, Y relative to the top-left of ObjectRect. True without a skin or
  // without a mask picture; otherwise the mask pixel must be exactly black.
  virtual Boolean PointInMask(Integer X, Integer Y);
  // The hover glow beside the window, on the layer manager GlowLayers gives.
  virtual void ShowLayer();
  virtual void HideLayer();
  virtual TspLayerManager* GlowLayers() const;
  // Images for the layered full border; nothing in the base.
  virtual void InitAlphaImages() {}
  virtual void DrawAlpha(TCanvas* /*Cnvs*/, TspBitmap* /*ABitMap*/) {}
  // Draws the object at ObjectRect. UpDate: drawn by itself over a painted frame (true)
  // or as part of a whole-frame paint whose background shows the normal look (false).
  virtual void Draw(TCanvas* Cnvs, Boolean UpDate);
  virtual void DblClick() {}
  // Mouse input in window (frame) coordinates, the system of ObjectRect.
  virtual void MouseDown(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseUp(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseMove(Integer X, Integer Y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // A morph step is still due.
  virtual Boolean CanMorphing();

  // The object cross-fades: Morphing, skin effects on, and no layered full border.
  Boolean EnableMorphing();
  // One step of 0.2 toward the active (or normal) look, then a redraw.
  void DoMorphing();
  // Starts the form's morph timer when morphing, else draws at once.
  void ReDraw();
  Double MorphKf() const { return FMorphKf; }
  // Stores Value clamped to 0..1.
  void SetMorphKf(Double Value);

  TspFormSkin* Parent = nullptr;
  Double FMorphKf = 0;
  Boolean FMouseIn = false;
  TBitmap* Picture = nullptr;            // the skin's frame or roll-up picture
  TBitmap* ActivePicture = nullptr;      // list picture ActivePictureIndex, or nil
  TBitmap* ActiveMaskPicture = nullptr;  // list picture ActiveMaskPictureIndex, or nil
  TspSkinData* SD = nullptr;
  String IDName;
  String Hint;
  TRect SkinRect;
  TRect ActiveSkinRect;
  TRect InActiveSkinRect;
  Boolean Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect ObjectRect;
  Boolean Active = false;
  Boolean Enabled = true;
  Integer CursorIndex = -1;
  Boolean RollUp = false;
  Boolean Visible = true;
  Boolean SkinRectInAPicture = false;
  Integer GlowLayerPictureIndex = -1;
  Integer GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetX = 0;
  Integer GlowLayerOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 0;

 protected:
  // The skin is loaded and not empty.
  Boolean Skinned() const;
  // Copies rectangle R of Source to ObjectRect of Cnvs (stretched when the sizes differ).
  void CopyLook(TCanvas* Cnvs, TBitmap* Source, const TRect& R);
  // Normal morphed toward Target (both of ObjectRect's size) by MorphKf and MorphKind,
  // drawn at the top-left of ObjectRect.
  void DrawMorphed(TCanvas* Cnvs, TBitmap* Normal, TBitmap* Target);
};

// An object the application draws itself (OnPaintEvent of the frame component).
class TspUserObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspUserObject)
  using TspActiveSkinObject::TspActiveSkinObject;
  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
};

// ---------------------------------------------------------------------------------------
// A title of the form's main menu drawn in the frame's menu band (FormSkinMainMenuItem.cpp):
// it sizes itself to its caption, hides itself when it does not fit, and opens its
// submenu as a skin menu when pressed; an open submenu follows the mouse from title to
// title. The caption and its buttons are in FormSkinCaption.h, the frame's other objects
// in FormSkinFrameObjects.h.

class TspDataSkinMainMenuItem;

class TspSkinMainMenuItem : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinMainMenuItem)
  // AData may be nil: an item without looks (never drawn).
  TspSkinMainMenuItem(TspFormSkin* AParent, TspDataSkinMainMenuItem* AData);

  void SetDown(Boolean Value);
  void TrackMenu();
  void LeaveOtherItem();
  Boolean ReleaseOtherItem();
  // The rectangle the item takes at its caption's width after the previous title.
  TRect ItemRect(TCanvas* Cnvs);

  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  TRect TempObjectRect{};
  Boolean FDown = false;
  Boolean OldEnabled = true;
  // The item fits in the menu band; hides the base's Visible (which is about drawing at
  // all) on purpose.
  Boolean Visible = true;
  TMenuItem* MenuItem = nullptr;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
  TRect TextRct{};
  TRect DownRect{};
  Integer LO = 0, RO = 0;

 private:
  void SetItemFont(TCanvas* Cnvs) const;
  // The item's image from rectangle R of the active picture, hot or not, into B.
  void CreateItemImage(TBitmap* B, const TRect& R, Boolean AActive);
};

// The caption, push-button and caption-button objects, which the rest of the frame reads
// through this header.
#include "skin/forms/FormSkinCaption.h"
