// An image list whose images are PNG pictures with alpha, held as named items. It plugs
// into the platform's image list: the list keeps one monochrome placeholder per item so
// its count matches, and drawing one image draws the item's PNG by its alpha (half
// opacity when disabled).
#pragma once

#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/PngImage.h"

class TspPngImageItems;
class TspPngImageList;

// The PNG picture of an item.
class TspPngImage : public TPngImage {
  VANTREL_CLASS(TspPngImage)
  TspPngImage() = default;
};

class TspPngImageItem : public TPersistent {
  VANTREL_CLASS(TspPngImageItem)
  // Adds itself to Collection, named "PngImage<index>", with an empty PNG and a
  // placeholder image at its index of the owning list.
  explicit TspPngImageItem(TspPngImageItems* Collection);
  ~TspPngImageItem() override;

  // From another item: its PNG and name; anything else raises the assignment error.
  void Assign(TPersistent* Source) override;

  TspPngImageItems* Collection() const { return FCollection; }
  Integer Index() const;
  // Name, or the class name when Name is empty.
  String GetDisplayName() const;

  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  TspPngImage* PngImage() const { return FPngImage.get(); }
  // Copies Value and reports a change of the items.
  void SetPngImage(TPngImage* Value);

 private:
  friend class TspPngImageItems;
  // What going away means to the list: its placeholder at this index is deleted.
  void Detach(Integer AIndex);

  TspPngImageItems* FCollection;
  TOwned<TspPngImage> FPngImage;
  String FName;
};

// The items of a PNG image list, in index order; the collection owns them.
class TspPngImageItems : public TPersistent {
  VANTREL_CLASS(TspPngImageItems)
  explicit TspPngImageItems(TspPngImageList* AOwner);
  ~TspPngImageItems() override;

  // A new item at the end.
  TspPngImageItem* Add();
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
  TspPngImageItem* GetPngImageItem(Integer Index) const;
  TspPngImageItem* Items(Integer Index) const { return GetPngImageItem(Index); }
  // Frees item Index (the later items move down one place).
  void Delete(Integer Index);
  // Frees every item, last first.
  void Clear();
  Integer IndexOf(const TspPngImageItem* Item) const;

  // From other items: as many items, each assigned from its counterpart.
  void Assign(TPersistent* Source) override;

  // The list that owns the items.
  TspPngImageList* FPngImageList;

 private:
  friend class TspPngImageItem;
  void Changed();
  // Frees the items, last first, without reporting a change.
  void ClearItems();
  std::vector<TOwned<TspPngImageItem>> FItems;
};

class TspPngImageList : public TCustomImageList {
  VANTREL_CLASS(TspPngImageList)
  explicit TspPngImageList(TComponent* AOwner);
  ~TspPngImageList() override;

  TspPngImageItems* PngImages() const { return FPngImages.get(); }
  // Copies the items of Value.
  void SetPngImages(TspPngImageItems* Value);
  // The list's own width and height; a new value drops the list's images and clears the
  // items (unless the component is loading).
  Integer PngWidth() const { return Width(); }
  void SetPngWidth(Integer Value);
  Integer PngHeight() const { return Height(); }
  void SetPngHeight(Integer Value);

  // Draws item Index's PNG into (X, Y, X + Width, Y + Height) by its alpha; a disabled
  // image is drawn from a copy at half opacity. Style is not used.
  void DrawPngImage(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal Style,
                    bool Enabled);

 protected:
  void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal Style,
              bool Enabled) override;

 private:
  friend class TspPngImageItems;
  TOwned<TspPngImageItems> FPngImages;
};

// Scales every alpha of Png by (Level + 1) / 256 (nearest, halves to even); pixels of a
// single transparent colour get 0. Pictures without alpha get an alpha channel first
// (grey and palette pictures become truecolour with alpha Level).
void ApplyPngAlphaLevel(TPngImage* Png, Byte Level);
