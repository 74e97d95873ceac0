// A top-level window's icons: WM_SETICON and WM_GETICON, and what the display is told.
#include "platform/win/WindowIcon.h"

#include "platform/win/WindowManager.h"

namespace vantrel::win {

HICON SetWindowIcon(WindowManager& M, Window* W, WPARAM Kind, HICON Icon) {
  HICON& Slot = Kind == ICON_BIG ? W->BigIcon : W->SmallIcon;
  HICON Old = Slot;
  Slot = Icon;
  if (W->HasNative) ShowNativeIcon(M, W);
  return Old;
}

HICON WindowIcon(const Window* W, WPARAM Kind) {
  switch (Kind) {
    case ICON_BIG: return W->BigIcon;
    case ICON_SMALL: return W->SmallIcon;
    case ICON_SMALL2: return W->SmallIcon ? W->SmallIcon : W->BigIcon;
    default: return nullptr;
  }
}

void ShowNativeIcon(WindowManager& M, const Window* W) {
  HICON Big = W->BigIcon, Small = W->SmallIcon;
  if (!Big && !Small && W->Class) {
    Big = W->Class->Icon;
    Small = W->Class->IconSm;
  }
  std::vector<IconPicture> Images;
  for (HICON I : {Big, Small}) {
    IconPicture Image;
    if (!I || !IconPictureOf(I, Image)) continue;
    bool Known = false;  // one picture per size
    for (const IconPicture& K : Images) Known = Known || (K.Width == Image.Width && K.Height == Image.Height);
    if (!Known) Images.push_back(std::move(Image));
  }
  M.GetDisplay().SetNativeWindowIcon(W->Handle, Images);
}

}  // namespace vantrel::win
