// The class library's image list: a row of same-sized images with optional masks, drawn
// normally or with the greyed look of a disabled control. The images live on an
// image-list handle that native views can share; a list may take another list's handle
// (ShareImages: it then leaves the handle alive when it goes). Derived lists (the PNG image
// list of the skin) replace DoDraw, the operation that draws one image.
#pragma once

#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/Graphics.h"
#include "platform/win/ImageLists.h"


enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
  VANTREL_CLASS(TCustomImageList)
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  // From another image list: its size, images and settings.
  void Assign(TPersistent* Source) override;

  // Changing the width or height drops every image.
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value);
  Integer Count() const { return static_cast<Integer>(Images().size()); }
  HIMAGELIST Handle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Takes Value's images (size and mask setting from it); the old handle is destroyed
  // unless shared. A dead handle is refused with EInvalidOperation.
  void SetHandle(HIMAGELIST Value);
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool Value) { FShareImages = Value; }
  bool Masked() const { return FMasked; }
  void SetMasked(bool Value);
  // Colour of the masked pixels when drawn; clNone leaves them transparent.
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value) { FDrawingStyle = Value; }
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType Value) { FImageType = Value; }

  // Adds Image cut into Width-wide images (at least one); the mask's non-black pixels are
  // transparent (no mask: all opaque). Returns the index of the first image added, -1
  // without an image.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  // As Add, pixels of MaskColor (clDefault: Image's bottom-left pixel) are transparent.
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  // Insert at Index (0..Count); raises EInvalidOperation "Invalid ImageList Index" else.
  void Insert(Integer Index, TBitmap* Image, TBitmap* Mask);
  void InsertMasked(Integer Index, TBitmap* Image, TColor MaskColor);
  // Deletes image Index; -1 deletes all; another index raises EInvalidOperation.
  void Delete(Integer Index);
  void Clear();

  // Draws image Index at (X, Y); Enabled false draws the greyed look: the image's dark
  // pixels in clBtnShadow over the same shape in clBtnHighlight one pixel right and down.
  // An index out of range draws nothing.
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  // Image gets the list's size and image Index drawn on it at (0, 0); false when Index or
  // Image is invalid.
  bool GetBitmap(Integer Index, TBitmap* Image);
  // Icon gets an icon of image Index with its mask.
  void GetIcon(Integer Index, TIcon* Image);

  TNotifyEvent OnChange;

 protected:
  virtual void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal Style, bool Enabled);
  virtual void Change();

 private:
  using Entry = vantrel::win::ImageListImage;
  std::vector<Entry>& Images() const;
  // The handle's size and settings follow the list's.
  void SyncHandle();
  std::vector<Entry> Cut(TBitmap* Source, TBitmap* Mask, bool UseColor, TColor MaskColor) const;
  void InsertImages(Integer Index, std::vector<Entry> Added);

  Integer FWidth = 16;
  Integer FHeight = 16;
  bool FMasked = true;
  TColor FBkColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  HIMAGELIST FHandle = nullptr;
  bool FShareImages = false;
};

class TImageList : public TCustomImageList {
  VANTREL_CLASS(TImageList)
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};
