// The skin's text table: the built-in texts, lookup by name without regard to case, texts
// holding "=", and replacing the lines.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/rtl/StringList.h"
#include "skin/core/data/SkinData.h"

namespace {

TEST(ResourceStrings, ANewTableHoldsEveryBuiltInTextInOrder) {
  auto R = CreateOwned<TspResourceStrData>(nullptr);
  TStrings* Lines = R->ResStrings();
  ASSERT_EQ(Lines->Count(), 131);
  EXPECT_EQ(Lines->Get(0), "MI_MINCAPTION=Mi&nimize");
  EXPECT_EQ(Lines->Get(130), "DBNAV_REFRESH=REFRESH");
  EXPECT_EQ(R->CharSet(), 1);
  std::set<std::string> Names;
  for (Integer i = 0; i < Lines->Count(); ++i) {
    const std::string L = Lines->Get(i);
    ASSERT_NE(L.find('='), std::string::npos) << L;
    Names.insert(L.substr(0, L.find('=')));
  }
  EXPECT_EQ(Names.size(), 131u) << "a name appears twice";

  struct Case {
    const char* Name;
    const char* Text;
  } Cases[] = {
      {"MSG_BTN_OK", "OK"},
      {"msg_btn_ok", "OK"},
      {"Msg_Btn_Ok", "OK"},
      {"MI_MAXCAPTION", "Ma&ximize"},
      {"MSG_BTN_NOTOALL", "N&oToAll"},
      {"FLV_LOOKIN", "Look in: "},  // the trailing blank stays
      {"RESTORE_HINT", "Restore"},
      {"ROLLUPBUTTON_HINT", "Roll Up"},
      {"FIND_REPLACE_All", "Replace All"},
      {"find_replace_all", "Replace All"},
      {"ERROR", "Error"},
      {"NODISKINDRIVE", "There is no disk in Drive or Drive is not ready"},
      {"PRNDLG_MARGINS_INCHES", "Margins (inches)"},
      {"NO_SUCH_TEXT", ""},  // never the name itself
      {"", ""},
      {"MSG_BTN_O", ""},
      {"MSG_BTN_OK ", ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(R->GetResStr(C.Name), C.Text);
  }
}

TEST(ResourceStrings, AssignedLinesReplaceTheTableAndTextsMayHoldEquals) {
  auto R = CreateOwned<TspResourceStrData>(nullptr);
  TStringList Lines;
  Lines.Add("MSG_BTN_OK=a=b==c");
  Lines.Add("no separator here");
  Lines.Add("=nameless");
  Lines.Add("EDIT_COPY=");
  Lines.Add("edit_copy=second");
  R->SetResStrings(&Lines);
  EXPECT_EQ(R->ResStrings()->Count(), 5);
  EXPECT_EQ(R->GetResStr("MSG_BTN_OK"), "a=b==c");
  EXPECT_EQ(R->GetResStr("EDIT_COPY"), "");  // the first line of the name wins
  EXPECT_EQ(R->GetResStr("MSG_BTN_CANCEL"), "");
  EXPECT_EQ(R->GetResStr("no separator here"), "");
  EXPECT_EQ(R->GetResStr(""), "nameless");
  // The table is a copy: changing the source later changes nothing.
  Lines.Clear();
  EXPECT_EQ(R->GetResStr("MSG_BTN_OK"), "a=b==c");
  R->SetCharSet(204);
  EXPECT_EQ(R->CharSet(), 204);
}

}  // namespace
