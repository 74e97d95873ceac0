// Detail columns of shell items: the details source of a folder, the texts of one item
// as a row of that folder, and the file-system fallback read with stat.
#include <sys/stat.h>

#include <cerrno>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/win/ShellFileInfo.h"
#include "skin/dialogs/SkinShellCtrls.h"

void TspShellFolder::ResolveDetailSource() {
  if (FDetailSourceChosen || !FIShellFolder) return;
  FDetailSourceChosen = true;
  BindShellDetails(FIShellFolder.Get(), FFullPIDL.Get(), FViewHandle, FIShellDetails);
  if (!FIShellDetails) {
    BindShellFolder2(FIShellFolder.Get(), FFullPIDL.Get(), FViewHandle, FIShellFolder2);
    // A folder that is not bound again may still answer the details itself.
    if (!FIShellFolder2) FIShellFolder->QueryInterface(IID_IShellFolder2, FIShellFolder2.PutVoid());
  }
  // One source is kept: the extended folder when there is one.
  if (FIShellFolder2) FIShellDetails.Reset();
}

IShellFolder2* TspShellFolder::ShellFolder2() {
  ResolveDetailSource();
  return FIShellFolder2.Get();
}

IShellDetails* TspShellFolder::ShellDetails() {
  ResolveDetailSource();
  return FIShellDetails.Get();
}

void TspShellFolder::LoadColumnDetails(TspShellFolder* RootFolder, HWND ViewHandle, Integer ColumnCount) {
  if (static_cast<Integer>(FDetails.size()) >= ColumnCount) return;
  FDetails.clear();
  FViewHandle = ViewHandle;
  if (!RootFolder) return;
  std::vector<String> Texts;
  if (IShellFolder2* SF2 = RootFolder->ShellFolder2()) {
    for (Integer Column = 1; Column <= ColumnCount; ++Column) {
      SHELLDETAILS Details;
      Texts.push_back(SUCCEEDED(SF2->GetDetailsOf(FPIDL.Get(), static_cast<UINT>(Column), &Details))
                          ? StrRetText(FPIDL.Get(), Details.str)
                          : String());
    }
  } else if (IShellDetails* SD = RootFolder->ShellDetails()) {
    for (Integer Column = 1; Column <= ColumnCount; ++Column) {
      SHELLDETAILS Details;
      Texts.push_back(SUCCEEDED(SD->GetDetailsOf(FPIDL.Get(), static_cast<UINT>(Column), &Details))
                          ? StrRetText(FPIDL.Get(), Details.str)
                          : String());
    }
  } else if (RootFolder->Properties().Contains(fpFileSystem)) {
    TspFindData Data;
    ReadFindData(Data);
    for (Integer Column = 1; Column <= ColumnCount; ++Column) Texts.push_back(FindDataDetail(Data, Column));
  }
  FDetails = std::move(Texts);
}

String TspShellFolder::DetailText(Integer Index) const {
  if (FDetails.empty()) throw Exception(Format("%s: Missing call to LoadColumnDetails", {DisplayName()}));
  if (Index < 1 || Index > static_cast<Integer>(FDetails.size())) return String();
  return FDetails[static_cast<size_t>(Index - 1)];
}

void TspShellFolder::DetailsError(DWORD Code) const {
  throw EInvalidPath(Format("Unable to retrieve folder details for \"%s\". Error code $%x", {DisplayName(), Code}));
}

void TspShellFolder::ReadFindData(TspFindData& Data) const {
  Data = TspFindData();
  const String Path = PathName();
  struct stat St {};
  if (stat(Path.c_str(), &St) != 0) DetailsError(static_cast<DWORD>(errno));
  Data.FileName = ExtractFileName(Path);
  if (S_ISDIR(St.st_mode)) Data.Attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (!Data.FileName.empty() && Data.FileName[0] == '.') Data.Attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (!(St.st_mode & S_IWUSR)) Data.Attributes |= FILE_ATTRIBUTE_READONLY;
  if (Data.Attributes == 0) Data.Attributes = FILE_ATTRIBUTE_NORMAL;
  Data.Size = static_cast<Int64>(St.st_size);
  Data.Modified = static_cast<Int64>(St.st_mtim.tv_sec);
}

Int64 FindDataSize(const TspFindData& Data) {
  if (Data.Attributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return Data.Size;
}

TDateTime FindDataDate(const TspFindData& Data) {
  if (Data.Attributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  const TDateTime Local = UnixToLocalDateTime(Data.Modified);
  Word Year, Month, Day;
  DecodeDate(Local, Year, Month, Day);
  // Dates a packed file date cannot hold.
  if (Year < 1980 || Year > 2107) return -1;
  return FileDateToDateTime(DateTimeToFileDate(Local));
}

String FindDataDetail(const TspFindData& Data, Integer Column) {
  switch (Column) {
    case 1:
      return Format("%d", {FindDataSize(Data)});
    case 2:
      return ExtractFileExt(Data.FileName);
    case 3:
      return DateTimeToStr(FindDataDate(Data));
    case 4:
      return Format("%d", {static_cast<Int64>(Data.Attributes)});
    default:
      return String();
  }
}
