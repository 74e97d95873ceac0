// The native list view's caption editor as a parent without the class library sees it:
// the parent's answer to LVN_ENDLABELEDIT decides whether a kept row takes the new text,
// and LVM_EDITLABEL with -1 ends editing without it.
#include <gtest/gtest.h>

#include <string>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Focus.h"
#include "platform/win/ListView.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

namespace {

struct NativeCaptionFixture {
  HeadlessSession Session;
  MessageLog Log{"ListViewEditParent"};
  HWND Parent = nullptr;
  HWND View = nullptr;
  LRESULT KeepAnswer = TRUE;
  std::vector<std::string> Ended;  // the texts LVN_ENDLABELEDIT brought ("<none>": cancelled)

  NativeCaptionFixture() {
    Log.Handler() = [this](HWND, UINT Msg, WPARAM, LPARAM LParam) -> std::optional<LRESULT> {
      if (Msg != WM_NOTIFY) return std::nullopt;
      const auto* Hdr = reinterpret_cast<const NMHDR*>(LParam);
      if (Hdr->code != LVN_ENDLABELEDIT) return std::nullopt;
      const auto* Info = reinterpret_cast<const NMLVDISPINFO*>(LParam);
      Ended.push_back(Info->item.pszText ? Info->item.pszText : "<none>");
      return KeepAnswer;
    };
    Parent = Log.Create(WS_POPUP | WS_VISIBLE, 10, 10, 300, 200);
    View = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS, 0, 0, 280, 180,
                          Parent, nullptr, nullptr, nullptr);
    LVCOLUMN C;
    C.mask = LVCF_WIDTH | LVCF_TEXT;
    C.cx = 150;
    C.pszText = const_cast<char*>("Name");
    SendMessage(View, LVM_INSERTCOLUMN, 0, reinterpret_cast<LPARAM>(&C));
    LVITEM I;
    I.mask = LVIF_TEXT;
    I.pszText = const_cast<char*>("clip.mp4");
    SendMessage(View, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&I));
    Session.PumpUntilIdle();
  }
  std::string Caption() {
    char Buffer[64] = "";
    LVITEM I;
    I.pszText = Buffer;
    I.cchTextMax = sizeof Buffer;
    SendMessage(View, LVM_GETITEMTEXT, 0, reinterpret_cast<LPARAM>(&I));
    return Buffer;
  }
  void EditTo(const std::string& Text) {
    ASSERT_NE(SendMessage(View, LVM_EDITLABEL, 0, 0), 0);
    Session.Type(Text);
    Session.Key(VK_RETURN);
    Session.PumpUntilIdle();
  }
};

}  // namespace

TEST(ListViewNativeCaptions, TheParentsAnswerDecidesWhetherTheNewTextIsKept) {
  NativeCaptionFixture F;
  F.KeepAnswer = FALSE;
  F.EditTo("refused.mp4");
  EXPECT_EQ(F.Caption(), "clip.mp4");
  F.KeepAnswer = TRUE;
  F.EditTo("kept.mp4");
  EXPECT_EQ(F.Caption(), "kept.mp4");
  EXPECT_EQ(F.Ended, (std::vector<std::string>{"refused.mp4", "kept.mp4"}));
  EXPECT_EQ(SendMessage(F.View, LVM_GETEDITCONTROL, 0, 0), 0);
  EXPECT_EQ(GetFocus(), F.View);
}

TEST(ListViewNativeCaptions, EditLabelWithMinusOneEndsEditingWithoutTheText) {
  NativeCaptionFixture F;
  const HWND Editor = reinterpret_cast<HWND>(SendMessage(F.View, LVM_EDITLABEL, 0, 0));
  ASSERT_NE(Editor, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(F.View, LVM_GETEDITCONTROL, 0, 0)), Editor);
  F.Session.Type("lost");
  F.Session.PumpUntilIdle();
  SendMessage(F.View, LVM_EDITLABEL, static_cast<WPARAM>(-1), 0);
  EXPECT_FALSE(IsWindow(Editor));
  EXPECT_EQ(F.Ended, (std::vector<std::string>{"<none>"}));
  EXPECT_EQ(F.Caption(), "clip.mp4");
  // Deleting the row being edited ends editing quietly.
  ASSERT_NE(SendMessage(F.View, LVM_EDITLABEL, 0, 0), 0);
  SendMessage(F.View, LVM_DELETEITEM, 0, 0);
  EXPECT_EQ(SendMessage(F.View, LVM_GETEDITCONTROL, 0, 0), 0);
  EXPECT_EQ(F.Ended.size(), 1u);
}
