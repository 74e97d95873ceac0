// The skinned scroll bars of a memo: a skinned memo has no room for scroll bars of its
// own, so the form places a vertical bar along its right edge and a horizontal one along
// its bottom, and the memo drives them.
#pragma once

#include "platform/rtl/Types.h"

class TspSkinMemo;
class TspSkinScrollBar;
class TspSkinData;

namespace vantrel::app {

struct TMemoScrollBars {
  TspSkinMemo* Memo = nullptr;
  TspSkinScrollBar* Vertical = nullptr;
  TspSkinScrollBar* Horizontal = nullptr;
  TRect Area{};  // what the memo and its bars fill together

  // Skins both bars and lays the three out again: a skin gives the bars its own thickness.
  void SetSkinData(TspSkinData* Data);
  // The memo in the top-left of Area, the vertical bar at its right, the horizontal one
  // under both, each as thick as it is.
  void Place();
};

// Makes both bars (owned by the memo's owner, children of its parent) inside the memo's
// present rectangle, the memo giving up the room they take, and links them to the memo.
// The bars follow the memo's anchors.
TMemoScrollBars AttachMemoScrollBars(TspSkinMemo* Memo);

}  // namespace vantrel::app
