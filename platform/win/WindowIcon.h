// A top-level window's icons on the desktop: the ones WM_SETICON gave it, else its
// class's, handed to the display as pictures whenever they change.
#pragma once

#include <vector>

#include "platform/win/Display.h"
#include "platform/win/Messages.h"

namespace vantrel::win {

class WindowManager;
struct Window;

// The icon's pixels (Icons.cpp); false for a handle that is no icon.
bool IconPictureOf(HICON Icon, IconPicture& Out);

// WM_SETICON: stores Icon as the window's big or small icon and returns the one it
// replaces; a top-level window's desktop icon follows.
HICON SetWindowIcon(WindowManager& M, Window* W, WPARAM Kind, HICON Icon);
// WM_GETICON: the window's own icon of that kind (ICON_SMALL2: the small one, else the
// big one), nullptr when it has none.
HICON WindowIcon(const Window* W, WPARAM Kind);
// Tells the display which icon a top-level window shows (after its native window is made).
void ShowNativeIcon(WindowManager& M, const Window* W);

}  // namespace vantrel::win
