#include <gtest/gtest.h>

#include "platform/win/Keyboard.h"
#include "platform/win/Shell.h"
#include "tests/skin/dialogs/ShellViewFixture.h"

namespace vantrel::uitest {
namespace {

using win::ComPtr;
using win::ItemIdList;

// A context menu with two commands, Rename and Delete, that records what it is asked.
class RecordingContextMenu : public IContextMenu2 {
 public:
  HRESULT InvokeResult = S_OK;
  std::vector<std::string> Invoked;  // verbs, or "#<offset>"
  std::vector<UINT> MenuMessages;

  HRESULT QueryInterface(REFIID Iid, void** Object) override {
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IContextMenu) || IsEqualIID(Iid, IID_IContextMenu2)) {
      *Object = static_cast<IContextMenu2*>(this);
      AddRef();
      return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++FRefs; }
  ULONG Release() override { return --FRefs; }  // owned by the test
  HRESULT QueryContextMenu(HMENU Menu, UINT, UINT First, UINT, UINT) override {
    AppendMenu(Menu, MF_STRING, First, "Rename");
    AppendMenu(Menu, MF_STRING, First + 1, "Delete");
    return MAKE_SUCCESS_RESULT(2);
  }
  HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO Info) override {
    const uintptr_t V = reinterpret_cast<uintptr_t>(Info->lpVerb);
    Invoked.push_back(V < 0x10000 ? "#" + std::to_string(V) : std::string(Info->lpVerb));
    return InvokeResult;
  }
  HRESULT GetCommandString(UINT_PTR Id, UINT, UINT*, LPSTR Name, UINT Max) override {
    const char* Verb = Id == 0 ? "rename" : Id == 1 ? "delete" : nullptr;
    if (!Verb) return E_INVALIDARG;
    snprintf(Name, Max, "%s", Verb);
    return S_OK;
  }
  HRESULT HandleMenuMsg(UINT Msg, WPARAM, LPARAM) override {
    MenuMessages.push_back(Msg);
    return S_OK;
  }

 private:
  ULONG FRefs = 1;
};

// A folder that hands out the recording menu for any item and knows nothing else.
class MenuOnlyFolder : public IShellFolder {
 public:
  explicit MenuOnlyFolder(RecordingContextMenu* Menu) : FMenu(Menu) {}
  HRESULT QueryInterface(REFIID Iid, void** Object) override {
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IShellFolder)) {
      *Object = static_cast<IShellFolder*>(this);
      AddRef();
      return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++FRefs; }
  ULONG Release() override { return --FRefs; }
  HRESULT ParseDisplayName(HWND, void*, LPCSTR, ULONG*, LPITEMIDLIST*, ULONG*) override { return E_NOTIMPL; }
  HRESULT EnumObjects(HWND, DWORD, IEnumIDList**) override { return E_NOTIMPL; }
  HRESULT BindToObject(LPCITEMIDLIST, void*, REFIID, void** O) override {
    *O = nullptr;
    return E_NOTIMPL;
  }
  HRESULT BindToStorage(LPCITEMIDLIST, void*, REFIID, void** O) override {
    *O = nullptr;
    return E_NOTIMPL;
  }
  HRESULT CompareIDs(LPARAM, LPCITEMIDLIST, LPCITEMIDLIST) override { return E_NOTIMPL; }
  HRESULT CreateViewObject(HWND, REFIID, void** O) override {
    *O = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetAttributesOf(UINT, LPCITEMIDLIST*, ULONG* InOut) override {
    *InOut = 0;
    return S_OK;
  }
  HRESULT GetUIObjectOf(HWND, UINT, LPCITEMIDLIST*, REFIID Iid, UINT*, void** Object) override {
    return FMenu->QueryInterface(Iid, Object);
  }
  HRESULT GetDisplayNameOf(LPCITEMIDLIST, DWORD, STRRET*) override { return E_NOTIMPL; }
  HRESULT SetNameOf(HWND, LPCITEMIDLIST, LPCSTR, DWORD, LPITEMIDLIST*) override { return E_NOTIMPL; }

 private:
  RecordingContextMenu* FMenu;
  ULONG FRefs = 1;
};

class ShellVerbTest : public ShellViewFixture {
 protected:
  RecordingContextMenu Menu;
  MenuOnlyFolder Folder{&Menu};
  TOwned<TspShellFolder> ParentItem, Item;
  TspSkinFileListView* View = nullptr;
  int Refreshes = 0;

  void SetUp() override {
    ShellViewFixture::SetUp();
    MakeTree(Outside, {"a.avi", "b.avi"});
    View = AddView<TspSkinFileListView>(0, 0, 380, 380);
    View->SetRoot(Outside);
    View->OnPathChanged = [this](TObject*) { ++Refreshes; };
    ShowForm();
    View->SetItemIndex(0);
    // An item whose parent folder is the recording folder.
    ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
    ItemIdList Full;
    ASSERT_EQ(Desktop->ParseDisplayName(nullptr, nullptr, (Outside + "/a.avi").c_str(), nullptr, Full.Put(), nullptr),
              S_OK);
    ItemIdList Last(LastItemIDCopy(Full.Get()));
    ItemIdList Parent(CloneIDList(Full.Get()));
    TrimLastItemID(Parent.Get());
    ParentItem.reset(TspShellFolder::Create(nullptr, ComPtr<IShellFolder>(&Folder), Parent.Get()));
    Item.reset(TspShellFolder::Create(ParentItem.get(), ComPtr<IShellFolder>(), Last.Get()));
  }

  // Queues the keys that choose the menu's Pos-th command (-1: Esc), then shows the menu.
  void ChooseFromMenu(TWinControl* Owner, int Pos) {
    if (Pos < 0) {
      Session.Key(VK_ESCAPE);
    } else {
      for (int I = 0; I <= Pos; ++I) Session.Key(VK_DOWN);
      Session.Key(VK_RETURN);
    }
    ShowShellContextMenu(Owner, Item.get(), 20, 20);
    Session.PumpUntilIdle();
  }
};

TEST_F(ShellVerbTest, RenameStartsCaptionEditingInsteadOfTheShellsRename) {
  ChooseFromMenu(View, 0);
  EXPECT_TRUE(View->IsEditing());
  EXPECT_TRUE(Menu.Invoked.empty());
  // The tracked menu got the menu messages, and is let go afterwards.
  EXPECT_NE(std::find(Menu.MenuMessages.begin(), Menu.MenuMessages.end(), WM_INITMENUPOPUP), Menu.MenuMessages.end());
  EXPECT_FALSE(TrackedContextMenu());
}

TEST_F(ShellVerbTest, DeleteRunsByItsOffsetAndRefreshesOnSuccessOnly) {
  struct Case {
    HRESULT Result;
    int Refreshes;
  };
  for (const Case C : {Case{S_OK, 1}, Case{E_FAIL, 0}}) {
    SCOPED_TRACE(C.Result);
    Menu.Invoked.clear();
    Menu.InvokeResult = C.Result;
    Refreshes = 0;
    ChooseFromMenu(View, 1);
    EXPECT_EQ(Menu.Invoked, (std::vector<std::string>{"#1"}));
    EXPECT_EQ(Refreshes, C.Refreshes);
  }
}

// An owner that records the verb calls it gets.
class VerbRecordingPanel : public TWinControl, public IspShellVerbHandler {
  VANTREL_CLASS(VerbRecordingPanel)
  using TWinControl::TWinControl;
  std::vector<std::string> Calls;
  void ExecuteCommand(const String& Verb, Boolean&) override { Calls.push_back("execute " + Verb); }
  void CommandCompleted(const String& Verb, Boolean Succeeded) override {
    Calls.push_back("completed " + Verb + (Succeeded ? " ok" : " failed"));
  }
};

TEST_F(ShellVerbTest, DismissingRunsNothingAndAChoiceReachesTheOwnerAroundTheShell) {
  auto* Owner = AddView<VerbRecordingPanel>(0, 0, 100, 100);
  Session.PumpUntilIdle();
  ChooseFromMenu(Owner, -1);
  EXPECT_TRUE(Owner->Calls.empty());
  EXPECT_TRUE(Menu.Invoked.empty());
  ChooseFromMenu(Owner, 1);
  EXPECT_EQ(Owner->Calls, (std::vector<std::string>{"execute delete", "completed delete ok"}));
  EXPECT_EQ(Menu.Invoked, (std::vector<std::string>{"#1"}));
}

TEST_F(ShellVerbTest, TheTreeStartsLabelEditingOnRenameAndForwardsTheMenuMessages) {
  auto* Tree = AddView<TspSkinDirTreeView>(0, 0, 200, 300);
  Session.PumpUntilIdle();
  ChooseFromMenu(Tree, 0);
  EXPECT_TRUE(Tree->IsEditing());
  EXPECT_TRUE(Menu.Invoked.empty());
  EXPECT_NE(std::find(Menu.MenuMessages.begin(), Menu.MenuMessages.end(), WM_INITMENUPOPUP), Menu.MenuMessages.end());
}

TEST_F(ShellVerbTest, ANamedVerbRunsWithoutAMenuAndWithoutAnItemNothingRuns) {
  RunShellVerb(nullptr, "properties");
  ShowShellContextMenu(View, nullptr, 10, 10);
  EXPECT_TRUE(Menu.Invoked.empty());
  RunShellVerb(Item.get(), "properties");
  EXPECT_EQ(Menu.Invoked, (std::vector<std::string>{"properties"}));
}

TEST_F(ShellVerbTest, AltEnterShowsTheSelectedItemsProperties) {
  std::vector<std::string> Boxes;
  Session.Manager().Shell().MessageBoxResponder = [&](HWND, const std::string&, const std::string& Caption, UINT) {
    Boxes.push_back(Caption);
    return IDOK;
  };
  View->SetFocus();
  View->SetItemIndex(1);
  Session.Key(VK_RETURN, MOD_ALT);
  Session.PumpUntilIdle();
  Session.Manager().Shell().MessageBoxResponder = nullptr;
  EXPECT_EQ(Boxes, (std::vector<std::string>{"b.avi Properties"}));
  EXPECT_EQ(View->Path(), Outside);
}

}  // namespace
}  // namespace vantrel::uitest
