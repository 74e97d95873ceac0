// Showing the caret: during its blink's on-phase the caret's rectangle is inverted (grey
// for bitmap 1) in the pixels presented to the display and in captures, never in a
// backing store, so no repaint can leave caret remains behind.
#pragma once

#include <cstdint>

#include "platform/win/Regions.h"
#include "platform/win/Surface.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

// Where the caret shows in Top's pixels now (top-level coordinates, clipped to what of
// its owner's client area shows); empty when it is off, hidden or in another window.
// Xor receives the bits to flip.
Region CaretShowingIn(WindowManager& M, Window* Top, uint32_t& Xor);
// Flips the caret's pixels in S, whose (0, 0) is Top's top-left corner.
void InvertCaret(Surface& S, const Region& Area, uint32_t Xor);
// Has the caret's place presented again (after it moved, blinked, showed or hid).
void MarkCaretDirty(WindowManager& M);

}  // namespace vantrel::win
