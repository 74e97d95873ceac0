// Compressed skins: a skin saved as one zlib block (stream and file form) loads back into
// the store as the folder load does; hand-made inner streams of other versions; blocks that
// are damaged, cut short or claim more than they hold; the file form's rules; the list of
// stored skins. Blocks are compared after inflating, never as compressed bytes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/Cursor.h"
#include "skin/core/data/SkinData.h"
#include "skin/core/data/spCompressedSkin.h"
#include "tests/skin/core/SkinData_TestKit.h"

using namespace vantrel::test;
using vantrel::display::HeadlessSession;

namespace {

// A skin that uses every picture slot, the picture list, cursors, frame geometry, the
// window sections, areas, colours, an object and a control, with comments.
const std::string RichSkinIni = R"([VERSION]
ver=2
skinname=Round Trip
skinauthor=Tester
authoremail=t@example.org
authorurl=http://example.org
skincomments=Made by a test
; a comment the ini-file form keeps
[PICTURES]
picture=frame.bmp
inactivepicture=inactive.bmp
mask=mask.bmp
rolluppicture=rollup.bmp
rollupmask=rollupmask.bmp
activepicturescount=2
0=list0.bmp
1=list1.bmp
[CURSORS]
startcursorindex=6
cursorscount=1
0=missing.cur
[FORMINFO]
lefttoppoint=5,5
righttoppoint=40,5
leftbottompoint=5,40
rightbottompoint=40,40
clientrect=10,10,30,30
maskrectarea=2,2,45,45
bgpictureindex=1
buttonsrect=1,2,3,4
borderwidth=4
inactiveeffect=iedarkness
[LAYERFRAME]
pictureindex=0
[POPUPWINDOW]
windowpictureindex=1
[HINTWINDOW]
fontname=Tahoma
[SKINAREAS]
count=1
0=caption:1,2,30,12
[SKINCOLORS]
cbtnface=12632256
[SKINOBJECTS]
count=1
0=close:stdbutton
[close]
command=cmclose
[SKINCONTROLS]
count=1
0=button:button
[button]
fontname=Verdana
skinrect=0,0,20,10
)";

std::string Int32(int32_t V) {
  std::string B(4, '\0');
  for (int i = 0; i < 4; ++i) B[i] = static_cast<char>((static_cast<uint32_t>(V) >> (8 * i)) & 0xFF);
  return B;
}

// The BMP file image of a Width x Height 24-bit picture in Color.
std::string Bmp(int Width, int Height, TColor Color) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(Width, Height);
  B->Canvas()->Brush()->SetColor(Color);
  B->Canvas()->FillRect(Rect(0, 0, Width, Height));
  return BitmapBytes(B.get());
}

// A zlib stream (RFC 1950) of Data.
std::string Deflate(const std::string& Data) {
  uLongf Size = compressBound(static_cast<uLong>(Data.size()));
  std::string Out(Size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(Out.data()), &Size, reinterpret_cast<const Bytef*>(Data.data()),
                      static_cast<uLong>(Data.size()), 9),
            Z_OK);
  Out.resize(Size);
  return Out;
}

std::string FileForm(int32_t Tag, const std::string& Block) {
  return Int32(Tag) + Int32(static_cast<int32_t>(Block.size())) + Block;
}

TOwned<TspCompressedStoredSkin> StoredFromBlock(const std::string& Block) {
  auto Stored = CreateOwned<TspCompressedStoredSkin>(nullptr);
  auto S = CreateOwned<TStringStream>(FileForm(2, Block));
  Stored->LoadFromCompressStream(S.get());
  return Stored;
}

TOwned<TspCompressedStoredSkin> StoredFromInner(const std::string& Inner) { return StoredFromBlock(Deflate(Inner)); }

std::string Inflated(TspCompressedStoredSkin* Stored) {
  auto S = CreateOwned<TMemoryStream>();
  Stored->DeCompressToStream(S.get());
  return std::string(static_cast<const char*>(S->Memory()), static_cast<size_t>(S->Size()));
}

std::string CompressStreamBytes(TspCompressedStoredSkin* Stored) {
  auto S = CreateOwned<TStringStream>();
  Stored->SaveToCompressStream(S.get());
  return S->DataString();
}

// "Class: message" of what Action raises, empty when it raises nothing.
std::string ErrorOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const Exception& E) {
    return std::string(E.ClassName()) + ": " + E.Message();
  }
  return {};
}

// One zero byte: the presence byte of a picture that follows.
const std::string Z(1, '\0');

const std::vector<UINT> ChangeMessages = {WM_SKIN_BEFORE_CHANGE, WM_SKIN_CHANGED, WM_SKIN_AFTER_CHANGE};

// A minimal skin description as inner-stream text, with CR LF lines.
const std::string InnerIni =
    "[VERSION]\r\nskinname=Hand Made\r\n[PICTURES]\r\npicture=f.bmp\r\n[FORMINFO]\r\nborderwidth=3\r\n"
    "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n";

// The same naming all five frame pictures and one picture in the list, "l.bmp".
const std::string InnerIniOneListPicture =
    "[VERSION]\r\nskinname=Hand Made\r\n[PICTURES]\r\npicture=f.bmp\r\ninactivepicture=i.bmp\r\n"
    "mask=m.bmp\r\nrolluppicture=r.bmp\r\nrollupmask=rm.bmp\r\nactivepicturescount=1\r\n0=l.bmp\r\n[FORMINFO]\r\nborderwidth=3\r\n[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n";

class CompressedSkinTest : public ::testing::Test {
 protected:
  HeadlessSession Session;
  SkinTrace Trace;
  TOwned<TSkinTestForm> Form;
  SkinFolder Dir;
  TOwned<TspSkinData> Store = CreateOwned<TspSkinData>(nullptr);
  int LoadDataEvents = 0;

  void SetUp() override {
    Form.reset(TSkinTestForm::Create(nullptr, &Trace));
    Form->SetBounds(0, 0, 40, 30);
    Form->HandleNeeded();
    Trace.Store = Store.get();
    Store->OnLoadData = [this](TObject*) { ++LoadDataEvents; };
  }

  void WriteRichSkin() {
    Dir.WriteIni(RichSkinIni);
    Dir.Picture("frame.bmp", 50, 50, 0x202020);
    Dir.Picture("inactive.bmp", 50, 50, 0x404040);
    Dir.Picture("mask.bmp", 50, 50, 0xFFFFFF);
    Dir.Picture("rollup.bmp", 50, 12, 0x606060);
    Dir.Picture("rollupmask.bmp", 50, 12, 0x000000);
    Dir.Picture("list0.bmp", 16, 8, 0x00FF00);
    Dir.Picture("list1.bmp", 9, 7, 0xFF0000);
  }

  TOwned<TspSkinData> FolderStore() {
    auto S = CreateOwned<TspSkinData>(nullptr);
    S->LoadFromFile(Dir.Ini());
    EXPECT_FALSE(S->Empty);
    ExpectStoredFolderLoadsBack(*S);
    return S;
  }

  std::vector<UINT> Messages() const {
    std::vector<UINT> R;
    for (const auto& M : Trace.Messages) R.push_back(M.second);
    return R;
  }

  // The loaded store holds what Folder does, but no cursors and the start slot it had.
  void ExpectEqualsFolderLoad(TspSkinData* Folder, Integer KeptStartCursorIndex) {
    EXPECT_FALSE(Store->Empty);
    EXPECT_FALSE(Store->ChangeSkinDataProcess);
    EXPECT_EQ(Store->FCursorsNames->Count(), 0);
    EXPECT_EQ(Store->StartCursorIndex, KeptStartCursorIndex);
    EXPECT_EQ(StorePictures(*Store), StorePictures(*Folder));
    Folder->FCursorsNames->Clear();
    Folder->StartCursorIndex = KeptStartCursorIndex;
    EXPECT_EQ(StoreText(*Store), StoreText(*Folder));
  }
};

}  // namespace

TEST_F(CompressedSkinTest, SkinSavedThroughStreamOrFileLoadsBackAsTheFolderLoad) {
  WriteRichSkin();
  auto Folder = FolderStore();
  auto Saved = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Saved->LoadFromSkinData(Folder.get());
  ASSERT_FALSE(Saved->Empty());
  const std::string Inner = Inflated(Saved.get());
  ASSERT_GT(Inner.size(), 9u);
  EXPECT_EQ(Inner.substr(0, 4), Int32(2));
  EXPECT_EQ(Inner.substr(4, 3), std::string("\0BM", 3));  // a frame picture follows

  // Stream form.
  const std::string StreamForm = CompressStreamBytes(Saved.get());
  EXPECT_EQ(StreamForm.substr(0, 4), Int32(2));
  EXPECT_EQ(StreamForm.substr(4, 4), Int32(static_cast<int32_t>(StreamForm.size() - 8)));
  auto Loaded = StoredFromBlock(StreamForm.substr(8));
  Store->StartCursorIndex = 9;
  Trace.Messages.clear();
  Trace.StoreStates.clear();
  Store->LoadCompressedStoredSkin(Loaded.get());
  EXPECT_EQ(Messages(), ChangeMessages);
  EXPECT_EQ(LoadDataEvents, 1);
  // While the change runs the store is flagged; once it is complete it is not.
  ASSERT_EQ(Trace.StoreStates.size(), 3u);
  EXPECT_EQ(Trace.StoreStates[0], std::make_pair(true, true));
  EXPECT_EQ(Trace.StoreStates[1], std::make_pair(true, false));
  EXPECT_EQ(Trace.StoreStates[2], std::make_pair(false, false));
  ExpectEqualsFolderLoad(FolderStore().get(), 9);
  ExpectStoredFolderLoadsBack(*Store);

  // File form, through the store's own routines.
  const std::string File = Dir.Path() + "skin.vsk";
  Folder->SaveToCompressedFile(File);
  auto FromFile = CreateOwned<TspCompressedStoredSkin>(nullptr);
  FromFile->LoadFromCompressFile(File);
  EXPECT_EQ(Inflated(FromFile.get()), Inner);
  auto Other = CreateOwned<TspSkinData>(nullptr);
  Store.swap(Other);
  Store->LoadFromCompressedFile(File);
  ExpectEqualsFolderLoad(FolderStore().get(), 1);

  // The picture names came along, so the store writes a complete folder again.
  SkinFolder Out;
  Store->StoreToDisk(Out.Path());
  ASSERT_TRUE(FileExists(Out.Path() + "inactive.bmp"));
  auto Inactive = CreateOwned<TBitmap>();
  Inactive->LoadFromFile(Out.Path() + "inactive.bmp");
  EXPECT_EQ(BitmapBytes(Inactive.get()), BitmapBytes(Folder->FInActivePicture.get()));
}

TEST_F(CompressedSkinTest, EmptySlotIsOneByteAndLoadsAsAnEmptyPicture) {
  WriteRichSkin();
  auto Folder = FolderStore();
  Folder->FInActivePicture->SetSize(0, 0);
  auto Saved = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Saved->LoadFromSkinData(Folder.get());
  const std::string Inner = Inflated(Saved.get());
  const size_t AfterFrame = 4 + 1 + BitmapBytes(Folder->FPicture.get()).size();
  EXPECT_EQ(Inner.substr(AfterFrame, 4), std::string("\1\0BM", 4));
  Store->LoadCompressedStoredSkin(Saved.get());
  EXPECT_TRUE(Store->FInActivePicture->Empty());
  EXPECT_EQ(Store->FInActivePictureName, "inactive.bmp");
  EXPECT_EQ(BitmapBytes(Store->FMask.get()), BitmapBytes(Folder->FMask.get()));
  // The empty picture has no file in a stored folder, so skin.ini names none.
  ExpectStoredFolderLoadsBack(*Store);
  SkinFolder Out;
  Store->StoreToDisk(Out.Path());
  EXPECT_FALSE(FileExists(Out.Path() + "inactive.bmp"));
  EXPECT_EQ(CreateOwned<TMemIniFile>(Out.Ini())->ReadString("PICTURES", "inactivepicture", "?"), "");
  EXPECT_EQ(Store->FInActivePictureName, "inactive.bmp");  // the store itself keeps it
}

TEST_F(CompressedSkinTest, EmptyListPictureKeepsTheLaterPicturesInTheirPlaces) {
  // A list picture whose file did not load is empty; written as no bytes at all it would
  // shift every later picture, so it travels as one key-colour pixel.
  WriteRichSkin();
  auto Folder = FolderStore();
  Folder->FActivePictures[0]->SetSize(0, 0);
  auto Saved = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Saved->LoadFromSkinData(Folder.get());
  Store->LoadCompressedStoredSkin(Saved.get());
  ASSERT_EQ(Store->FActivePictures.Count(), 2);
  EXPECT_EQ(Store->FActivePictures[0]->Width(), 1);
  EXPECT_EQ(Store->FActivePictures[0]->Canvas()->Pixels(0, 0), 0xFF00FF);
  EXPECT_EQ(BitmapBytes(Store->FActivePictures[1]), BitmapBytes(Folder->FActivePictures[1]));
  ExpectStoredFolderLoadsBack(*Store);
}

TEST_F(CompressedSkinTest, IniFileFormKeepsTheFilesTextAndLoadsAsTheFolder) {
  WriteRichSkin();
  auto Saved = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Saved->LoadFromIniFile(Dir.Ini());
  const std::string Inner = Inflated(Saved.get());
  std::string Crlf;
  for (char C : RichSkinIni) Crlf += C == '\n' ? std::string("\r\n") : std::string(1, C);
  ASSERT_GE(Inner.size(), Crlf.size());
  EXPECT_EQ(Inner.substr(Inner.size() - Crlf.size()), Crlf);  // comments included
  Store->StartCursorIndex = 3;
  Store->LoadCompressedStoredSkin(Saved.get());
  ExpectEqualsFolderLoad(FolderStore().get(), 3);
  ExpectStoredFolderLoadsBack(*Store);

  // What is not a skin description leaves the block as it was.
  SkinFolder NotASkin;
  NotASkin.WriteIni("[VERSION]\nskinname=x\n");
  Saved->LoadFromIniFile(NotASkin.Ini());
  EXPECT_EQ(Inflated(Saved.get()), Inner);

  // A missing picture and a JPEG name fail as the platform's file and bitmap errors.
  SkinFolder Broken;
  Broken.WriteIni("[VERSION]\nskinname=b\n[PICTURES]\npicture=gone.bmp\n[FORMINFO]\nborderwidth=1\n"
                  "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n");
  EXPECT_EQ(ErrorOf([&] { Saved->LoadFromIniFile(Broken.Ini()); }).rfind("EFOpenError", 0), 0u);
  WriteFileBytes(Broken.Path() + "photo.jpg", std::string("\xFF\xD8\xFF\xE0 not a bitmap"));
  Broken.WriteIni("[VERSION]\nskinname=b\n[PICTURES]\npicture=photo.jpg\n[FORMINFO]\nborderwidth=1\n"
                  "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n");
  EXPECT_EQ(ErrorOf([&] { Saved->LoadFromIniFile(Broken.Ini()); }), "EInvalidGraphic: Bitmap image is not valid");
}

TEST_F(CompressedSkinTest, EachVersionCarriesItsOwnPictureSlots) {
  const std::string F = Bmp(4, 3, 0x112233);
  struct Case {
    int32_t Version;
    std::string Slots;  // the slots' bytes as the version writes them
    // Filled after loading: frame, inactive, mask, roll-up, roll-up mask.
    std::vector<bool> Filled;
  } Cases[] = {
      {3, Z + F + Z + F + Z + F, {true, true, true, false, false}},
      {1, Z + F + Z + F + Z + F + "\1", {true, false, true, true, false}},
      {0, Z + F + Z + F, {true, false, true, false, false}},
      {-4, "\1" + Z + F, {false, false, true, false, false}},
      {2, "\1\1\1\1" + Z + F, {false, false, false, false, true}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Version);
    // Every picture filled beforehand, so an untouched slot would show.
    for (TBitmap* B : {Store->FPicture.get(), Store->FInActivePicture.get(), Store->FMask.get(),
                       Store->FRollUpPicture.get(), Store->FRollUpMask.get()})
      B->SetSize(2, 2);
    const std::string Inner = Int32(C.Version) + std::string(C.Slots) + Int32(1) + Bmp(2, 5, 0x00FF00) +
                              InnerIniOneListPicture;
    auto Stored = StoredFromInner(Inner);
    Store->LoadCompressedStoredSkin(Stored.get());
    EXPECT_FALSE(Store->Empty);
    std::vector<bool> Filled;
    for (TBitmap* B : {Store->FPicture.get(), Store->FInActivePicture.get(), Store->FMask.get(),
                       Store->FRollUpPicture.get(), Store->FRollUpMask.get()})
      Filled.push_back(!B->Empty());
    EXPECT_EQ(Filled, C.Filled);
    if (C.Filled[0]) {
      EXPECT_EQ(BitmapBytes(Store->FPicture.get()), F);
    }
    ASSERT_EQ(Store->FActivePictures.Count(), 1);
    EXPECT_EQ(Store->FActivePictures[0]->Height(), 5);
    EXPECT_EQ(Store->SkinName, "Hand Made");
    EXPECT_EQ(Store->FPictureName, "f.bmp");
    ExpectStoredFolderLoadsBack(*Store);
  }
}

TEST_F(CompressedSkinTest, IniTextWithAByteOrderMarkIsReadInItsEncoding) {
  // UTF-16LE after its mark; U+00E9 in the skin's name.
  auto Wide = [](const std::string& Ascii) {
    std::string W;
    for (char C : Ascii) W += std::string(1, C) + '\0';
    return W;
  };
  const std::string Utf16 = "\xFF\xFE" + Wide("[VERSION]\r\nskinname=W") + std::string("\xE9\0", 2) +
                            Wide("de\r\n[PICTURES]\r\npicture=\r\n[FORMINFO]\r\nborderwidth=1\r\n"
                                 "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n");
  auto Stored = StoredFromInner(Int32(2) + std::string("\1\1\1\1\1") + Int32(0) + Utf16);
  Store->LoadCompressedStoredSkin(Stored.get());
  EXPECT_EQ(Store->SkinName, "W\xC3\xA9" "de");
  EXPECT_EQ(Store->BorderW, 1);
  ExpectStoredFolderLoadsBack(*Store);
}

TEST_F(CompressedSkinTest, LaterVersionEmptiesTheStoreAndStillEndsTheChange) {
  WriteRichSkin();
  Store->LoadFromFile(Dir.Ini());
  Trace.Messages.clear();
  const int Before = LoadDataEvents;
  auto Stored = StoredFromInner(Int32(7) + Z + Bmp(3, 3, 0) + InnerIni);
  EXPECT_EQ(ErrorOf([&] { Store->LoadCompressedStoredSkin(Stored.get()); }), "");
  EXPECT_TRUE(Store->Empty);
  EXPECT_FALSE(Store->ChangeSkinDataProcess);
  EXPECT_TRUE(Store->FPicture->Empty());
  EXPECT_EQ(Store->CtrlList.Count(), 0);
  EXPECT_EQ(Store->SkinName, "Round Trip");  // nothing of the block was read
  EXPECT_EQ(Messages(), ChangeMessages);
  EXPECT_EQ(LoadDataEvents, Before);
}

TEST_F(CompressedSkinTest, DamagedBlocksFailTheLoadButEndTheChange) {
  const std::string F = Bmp(4, 3, 0x112233);
  const std::string Good = Int32(2) + Z + F + "\1\1\1\1" + Int32(1) + F + InnerIniOneListPicture;
  // A 24-bit picture header that claims 30000 x 30000 pixels, followed by a few bytes.
  std::string Huge = F.substr(0, 54);
  std::memcpy(Huge.data() + 18, Int32(30000).data(), 4);
  std::memcpy(Huge.data() + 22, Int32(30000).data(), 4);
  struct Case {
    const char* Name;
    std::string Block;
    std::string Error;
  } Cases[] = {
      {"not zlib", std::string("this is not a zlib stream at all"), "EDecompressionError: compression error"},
      {"cut inside a picture", Deflate(Good.substr(0, 4 + 1 + F.size() / 2)), "EReadError: Stream read error"},
      {"cut before the version", Deflate(Good.substr(0, 2)), "EReadError: Stream read error"},
      {"cut before the count", Deflate(Good.substr(0, 4 + 1 + F.size() + 4)), "EReadError: Stream read error"},
      {"picture larger than the block", Deflate(Int32(2) + Z + Huge + "tail"), "EReadError: Stream read error"},
      {"huge count", Deflate(Int32(2) + "\1\1\1\1\1" + Int32(0x7FFFFFFF) + F), "EReadError: Stream read error"},
      {"not a bitmap", Deflate(Int32(2) + Z + std::string(60, 'x')), "EInvalidGraphic: Bitmap image is not valid"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Trace.Messages.clear();
    auto Stored = StoredFromBlock(C.Block);
    ASSERT_FALSE(Stored->Empty());
    EXPECT_EQ(ErrorOf([&] { Store->LoadCompressedStoredSkin(Stored.get()); }), C.Error);
    EXPECT_TRUE(Store->Empty);
    EXPECT_FALSE(Store->ChangeSkinDataProcess);
    EXPECT_TRUE(Store->FPicture->Empty());
    EXPECT_EQ(Store->FActivePictures.Count(), 0);
    EXPECT_EQ(Messages(), ChangeMessages);
  }
  // The intact block loads.
  auto Stored = StoredFromInner(Good);
  Store->LoadCompressedStoredSkin(Stored.get());
  EXPECT_FALSE(Store->Empty);
  ExpectStoredFolderLoadsBack(*Store);
}

TEST_F(CompressedSkinTest, PictureListAndNamesThatDisagreeAreRefusedAtLoad) {
  const std::string F = Bmp(4, 3, 0x112233);
  struct Case {
    const char* What;
    std::string Inner;
    std::string Error;
  } Cases[] = {
      {"two pictures, one name", Int32(2) + "\1\1\1\1\1" + Int32(2) + F + F + InnerIniOneListPicture,
       "EInvalidOperation: Skin picture list holds 2 pictures but 1 names"},
      {"one picture, no name", Int32(2) + "\1\1\1\1\1" + Int32(1) + F + InnerIni,
       "EInvalidOperation: Skin picture list holds 1 pictures but 0 names"},
      {"no picture, one name", Int32(2) + "\1\1\1\1\1" + Int32(0) + InnerIniOneListPicture,
       "EInvalidOperation: Skin picture list holds 0 pictures but 1 names"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    Trace.Messages.clear();
    auto Stored = StoredFromInner(C.Inner);
    EXPECT_EQ(ErrorOf([&] { Store->LoadCompressedStoredSkin(Stored.get()); }), C.Error);
    EXPECT_TRUE(Store->Empty);
    EXPECT_FALSE(Store->ChangeSkinDataProcess);
    EXPECT_EQ(Store->FActivePictures.Count(), 0);
    EXPECT_EQ(Messages(), ChangeMessages);
  }
  // A store whose lists were made to disagree writes nothing at all.
  Store->FActivePicturesNames->Add("extra.bmp");
  SkinFolder Out;
  EXPECT_EQ(ErrorOf([&] { Store->StoreToDisk(Out.Path()); }),
            "EInvalidOperation: Skin picture list holds 0 pictures but 1 names");
  EXPECT_FALSE(FileExists(Out.Ini()));
}

TEST_F(CompressedSkinTest, FileAndStreamFormRules) {
  // An empty stored skin: eight bytes, which load back as an empty stored skin; no file.
  auto EmptySkin = CreateOwned<TspCompressedStoredSkin>(nullptr);
  EXPECT_TRUE(EmptySkin->Empty());
  const std::string Eight = CompressStreamBytes(EmptySkin.get());
  EXPECT_EQ(Eight, Int32(2) + Int32(0));
  auto Back = StoredFromBlock("x");
  auto S = CreateOwned<TStringStream>(Eight);
  Back->LoadFromCompressStream(S.get());
  EXPECT_TRUE(Back->Empty());
  EmptySkin->SaveToCompressFile(Dir.Path() + "none.vsk");
  EXPECT_FALSE(FileExists(Dir.Path() + "none.vsk"));

  // The stream form is read from the stream's start, wherever it stands.
  const std::string Block = Deflate(Int32(2) + "\1\1\1\1\1" + Int32(0) + InnerIni);
  auto Whole = CreateOwned<TStringStream>(FileForm(3, Block));
  Whole->SetPosition(6);
  auto Stored = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Stored->LoadFromCompressStream(Whole.get());
  EXPECT_FALSE(Stored->Empty());
  EXPECT_EQ(Inflated(Stored.get()), Int32(2) + "\1\1\1\1\1" + Int32(0) + InnerIni);

  // Tags up to 3 are read; a larger one leaves the stored skin empty without error.
  for (int32_t Tag : {-1, 0, 3, 4, 100}) {
    SCOPED_TRACE(Tag);
    auto T = CreateOwned<TStringStream>(FileForm(Tag, Block));
    EXPECT_EQ(ErrorOf([&] { Stored->LoadFromCompressStream(T.get()); }), "");
    EXPECT_EQ(Stored->Empty(), Tag > 3);
  }

  // A length the stream cannot hold is refused before anything is copied.
  for (int32_t Length : {-1, static_cast<int32_t>(Block.size() + 1), 0x7FFFFFFF}) {
    SCOPED_TRACE(Length);
    auto T = CreateOwned<TStringStream>(Int32(2) + Int32(Length) + Block);
    EXPECT_EQ(ErrorOf([&] { Stored->LoadFromCompressStream(T.get()); }), "EReadError: Stream read error");
    EXPECT_TRUE(Stored->Empty());
  }
  EXPECT_EQ(ErrorOf([&] { Stored->LoadFromCompressFile(Dir.Path() + "missing.vsk"); }).rfind("EFOpenError", 0), 0u);
  EXPECT_TRUE(Stored->Empty());
  EXPECT_EQ(ErrorOf([&] { Store->LoadFromCompressedFile(Dir.Path() + "missing.vsk"); }).rfind("EFOpenError", 0),
            0u);
}

TEST_F(CompressedSkinTest, FileWithALaterTagLeavesTheStoreUntouched) {
  WriteRichSkin();
  Store->LoadFromFile(Dir.Ini());
  Trace.Messages.clear();
  const std::string Text = StoreText(*Store);
  const std::string File = Dir.Path() + "later.vsk";
  WriteFileBytes(File, FileForm(4, Deflate(Int32(2) + "\1\1\1\1\1" + Int32(0) + InnerIni)));
  Store->LoadFromCompressedFile(File);
  EXPECT_FALSE(Store->Empty);
  EXPECT_EQ(StoreText(*Store), Text);
  EXPECT_TRUE(Messages().empty());
  // An empty stored skin changes nothing either.
  auto EmptySkin = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Store->LoadCompressedStoredSkin(EmptySkin.get());
  EXPECT_EQ(StoreText(*Store), Text);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CompressedSkinTest, NeverInstallsCursors) {
  const HCURSOR Mine = LoadCursor(nullptr, IDC_ARROW);
  vantrel::skin::InstallScreenCursor(6, Mine);
  WriteRichSkin();
  auto Saved = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Saved->LoadFromIniFile(Dir.Ini());
  Store->LoadCompressedStoredSkin(Saved.get());
  EXPECT_FALSE(Store->Empty);
  EXPECT_EQ(vantrel::skin::ScreenCursor(6), Mine);
  EXPECT_EQ(Store->StartCursorIndex, 1);
  // The folder load of the same skin does replace it.
  auto Folder = FolderStore();
  EXPECT_NE(vantrel::skin::ScreenCursor(6), Mine);
  vantrel::skin::InstallScreenCursor(6, nullptr);
}

TEST_F(CompressedSkinTest, InflationStopsAtItsLimit) {
  // A block of zeros that inflates to just over the limit, deflated piece by piece.
  z_stream Z{};
  ASSERT_EQ(deflateInit(&Z, 1), Z_OK);
  std::string Block;
  std::vector<Bytef> Zeros(1 << 20), Out(1 << 16);
  const int64_t Total = vantrel::skin::MaxInflatedSkinSize + 4096;
  for (int64_t Done = 0; Done < Total;) {
    const int64_t N = std::min<int64_t>(static_cast<int64_t>(Zeros.size()), Total - Done);
    Done += N;
    Z.next_in = Zeros.data();
    Z.avail_in = static_cast<uInt>(N);
    const int Flush = Done == Total ? Z_FINISH : Z_NO_FLUSH;
    do {
      Z.next_out = Out.data();
      Z.avail_out = static_cast<uInt>(Out.size());
      deflate(&Z, Flush);
      Block.append(reinterpret_cast<char*>(Out.data()), Out.size() - Z.avail_out);
    } while (Z.avail_out == 0);
  }
  deflateEnd(&Z);
  auto Stored = StoredFromBlock(Block);
  const std::string Error = ErrorOf([&] { Store->LoadCompressedStoredSkin(Stored.get()); });
  EXPECT_EQ(Error.rfind("EDecompressionError", 0), 0u) << Error;
  EXPECT_TRUE(Store->Empty);
  EXPECT_FALSE(Store->ChangeSkinDataProcess);
}

TEST_F(CompressedSkinTest, DamagedInnerStreamsAndBlocksNeverCrashTheLoader) {
  WriteRichSkin();
  auto Saved = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Saved->LoadFromIniFile(Dir.Ini());
  const std::string Inner = Inflated(Saved.get());
  const std::string Block = Deflate(Inner);
  std::mt19937 Random(20261210);
  auto Mutate = [&Random](std::string S) {
    const int Kind = static_cast<int>(Random() % 3);
    if (Kind == 0 && !S.empty()) S.resize(Random() % S.size());
    const int Flips = 1 + static_cast<int>(Random() % 8);
    for (int i = 0; i < Flips && !S.empty(); ++i) {
      const size_t At = Kind == 2 ? Random() % std::min<size_t>(S.size(), 200) : Random() % S.size();
      S[At] = static_cast<char>(Random() & 0xFF);
    }
    return S;
  };
  for (int Round = 0; Round < 400; ++Round) {
    SCOPED_TRACE(Round);
    // Half the rounds damage the inner stream (headers most of all), half the block.
    auto Stored = Round % 2 ? StoredFromInner(Mutate(Inner)) : StoredFromBlock(Mutate(Block));
    if (Stored->Empty()) continue;
    try {
      Store->LoadCompressedStoredSkin(Stored.get());
    } catch (const Exception&) {
      EXPECT_TRUE(Store->Empty);
    }
    EXPECT_FALSE(Store->ChangeSkinDataProcess);
  }
}

TEST(CompressedSkinList, ItemsAreNamedByIndexAndCopiedWithTheirSkins) {
  auto List = CreateOwned<TspCompressedSkinList>(nullptr);
  TspSkinListItem* First = List->Skins()->Add();
  TspSkinListItem* Second = List->Skins()->Add();
  EXPECT_EQ(First->Name(), "spSkin0");
  EXPECT_EQ(Second->Name(), "spSkin1");
  EXPECT_EQ(Second->DisplayName(), "spSkin1");
  EXPECT_EQ(List->Skins()->Owner(), List.get());
  EXPECT_EQ(List->Skins()->GetItem(1), Second);
  EXPECT_EQ(ErrorOf([&] { List->Skins()->GetItem(2); }), "EListError: List index out of bounds (2)");
  EXPECT_TRUE(First->Skin()->Empty());

  Second->SetName("Dark");
  Second->SetDescription("A dark skin");
  auto S = CreateOwned<TStringStream>(FileForm(2, Deflate(Int32(2) + "\1\1\1\1\1" + Int32(0) + InnerIni)));
  Second->Skin()->LoadFromCompressStream(S.get());
  auto Copy = CreateOwned<TspCompressedSkinList>(nullptr);
  Copy->SetSkins(List->Skins());
  ASSERT_EQ(Copy->Skins()->Count(), 2);
  TspSkinListItem* Copied = Copy->Skins()->GetItem(1);
  EXPECT_EQ(Copied->Name(), "Dark");
  EXPECT_EQ(Copied->Description(), "A dark skin");
  ASSERT_FALSE(Copied->Skin()->Empty());
  EXPECT_EQ(Inflated(Copied->Skin()), Inflated(Second->Skin()));
  EXPECT_NE(Copied->Skin(), Second->Skin());
}

namespace {

// A list of Count stored skins without pictures, named "Skin 0", "Skin 1" ...
TOwned<TspCompressedSkinList> NamedSkinList(int Count) {
  auto List = CreateOwned<TspCompressedSkinList>(nullptr);
  for (int i = 0; i < Count; ++i) {
    const std::string Ini = "[VERSION]\r\nskinname=Skin " + std::to_string(i) +
                            "\r\n[PICTURES]\r\npicture=\r\n[FORMINFO]\r\nborderwidth=3\r\n"
                            "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n";
    auto S = CreateOwned<TStringStream>(FileForm(2, Deflate(Int32(2) + "\1\1\1\1\1" + Int32(0) + Ini)));
    List->Skins()->Add()->Skin()->LoadFromCompressStream(S.get());
  }
  return List;
}

}  // namespace

TEST_F(CompressedSkinTest, SkinListSelectsItsSkinByIndex) {
  auto List = NamedSkinList(3);
  // Without a list the index is only kept.
  Store->SetSkinIndex(5);
  EXPECT_EQ(Store->SkinIndex(), 5);
  Store->SetSkinIndex(1);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(Store->Empty);

  Store->SetSkinList(List.get());
  EXPECT_EQ(Store->SkinList(), List.get());
  EXPECT_EQ(Store->SkinName, "Skin 1");
  EXPECT_EQ(Messages(), ChangeMessages);
  EXPECT_EQ(LoadDataEvents, 1);

  Trace.Messages.clear();
  Store->SetSkinIndex(2);
  EXPECT_EQ(Store->SkinIndex(), 2);
  EXPECT_EQ(Store->SkinName, "Skin 2");
  EXPECT_EQ(Messages(), ChangeMessages);

  // Outside the list, or the index it has: nothing changes and nothing is sent.
  Trace.Messages.clear();
  for (Integer Index : {5, 3, -1, 2}) {
    SCOPED_TRACE(Index);
    Store->SetSkinIndex(Index);
    EXPECT_EQ(Store->SkinIndex(), 2);
    EXPECT_EQ(Store->SkinName, "Skin 2");
    EXPECT_TRUE(Messages().empty());
  }

  Store->SetSkinIndex(0);
  EXPECT_EQ(Store->SkinName, "Skin 0");
  ExpectStoredFolderLoadsBack(*Store);
}

TEST_F(CompressedSkinTest, SkinListWithoutTheChosenItemLoadsNothing) {
  auto List = NamedSkinList(2);
  Store->SetSkinIndex(4);
  Store->SetSkinList(List.get());
  EXPECT_TRUE(Store->Empty);
  EXPECT_TRUE(Messages().empty());
  // An empty list item loads nothing either.
  List->Skins()->Add();
  Store->SetSkinIndex(2);
  EXPECT_EQ(Store->SkinIndex(), 2);
  EXPECT_TRUE(Store->Empty);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CompressedSkinTest, FreedSkinListAndStoredSkinAreForgotten) {
  auto List = NamedSkinList(3);
  Store->SetSkinList(List.get());
  EXPECT_EQ(Store->SkinName, "Skin 0");
  List.reset();
  EXPECT_EQ(Store->SkinList(), nullptr);
  // With the list gone the index is only kept again; the loaded skin stays.
  Trace.Messages.clear();
  Store->SetSkinIndex(5);
  EXPECT_EQ(Store->SkinIndex(), 5);
  EXPECT_EQ(Store->SkinName, "Skin 0");
  EXPECT_TRUE(Messages().empty());

  auto Stored = StoredFromInner(Int32(2) + "\1\1\1\1\1" + Int32(0) + InnerIni);
  Store->SetCompressedStoredSkin(Stored.get());
  EXPECT_EQ(Store->CompressedStoredSkin(), Stored.get());
  EXPECT_EQ(Store->SkinName, "Hand Made");
  EXPECT_EQ(Messages(), ChangeMessages);
  Stored.reset();
  EXPECT_EQ(Store->CompressedStoredSkin(), nullptr);
}

TEST_F(CompressedSkinTest, StoreFreedBeforeItsSkinListLeavesTheListWhole) {
  auto List = NamedSkinList(2);
  auto Stored = StoredFromInner(Int32(2) + "\1\1\1\1\1" + Int32(0) + InnerIni);
  Store->SetSkinList(List.get());
  Store->SetCompressedStoredSkin(Stored.get());
  Trace.Store = nullptr;
  Store.reset();
  // The list and the stored skin no longer point at the freed store.
  List.reset();
  Stored.reset();
  auto Again = NamedSkinList(1);
  auto Other = CreateOwned<TspSkinData>(nullptr);
  Other->SetSkinList(Again.get());
  EXPECT_EQ(Other->SkinName, "Skin 0");
}
