// Files and folders: existence tests, creation and removal, copying, directory search with
// the class library's TSearchRec, file-name parts, the user's special folders (XDG user
// folders, created when missing) and the process's private temporary folder. Paths use '/'.
#pragma once

#include <functional>
#include <memory>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Types.h"

// Attribute bits of TSearchRec, with their Windows values. A name starting with '.' (other
// than "." and "..") counts as hidden; a file without write permission as read-only.
constexpr Integer faReadOnly = 0x01;
constexpr Integer faHidden = 0x02;
constexpr Integer faSysFile = 0x04;
constexpr Integer faVolumeID = 0x08;
constexpr Integer faDirectory = 0x10;
constexpr Integer faArchive = 0x20;
constexpr Integer faNormal = 0x80;
constexpr Integer faSymLink = 0x400;
constexpr Integer faAnyFile = 0x1FF;

// Results of FindFirst/FindNext besides 0 (Windows error codes).
constexpr Integer ERROR_FILE_NOT_FOUND = 2;
constexpr Integer ERROR_PATH_NOT_FOUND = 3;
constexpr Integer ERROR_ACCESS_DENIED = 5;
constexpr Integer ERROR_NO_MORE_FILES = 18;

namespace vantrel::rtl::detail {
struct FindState;
}

struct TSearchRec {
  Integer Time = 0;  // last write time, DOS packed date-time (local)
  Int64 Size = 0;
  Integer Attr = 0;
  String Name;  // the entry's name, without its folder
  Integer ExcludeAttr = 0;
  TDateTime TimeStamp = 0;  // last write time, local
  std::shared_ptr<vantrel::rtl::detail::FindState> FindHandle;
};

// Lists the entries of Path's folder whose names match Path's last part ('*' any run, '?'
// one character, without regard to ASCII case; "*.*" matches every name), in the order the
// file system gives them. Entries with faHidden, faSysFile or faDirectory are listed only when
// Attr asks for them ("." and ".." come with faDirectory). Returns 0 with F filled, or an
// error code (ERROR_FILE_NOT_FOUND when nothing matches). FindClose releases the search.
Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F);
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
// Whether Name matches Mask by the rules above.
bool MatchesSearchMask(const String& Name, const String& Mask);

bool FileExists(const String& FileName);      // a file (not a folder), following links
bool DirectoryExists(const String& Directory);
bool CreateDir(const String& Dir);             // one level, mode 0777 & ~umask
bool ForceDirectories(const String& Dir);      // with every missing parent; false for ""
bool RemoveDir(const String& Dir);             // an empty folder
bool DeleteFile(const String& FileName);
bool RenameFile(const String& OldName, const String& NewName);
// Copies contents and permissions; with FailIfExists an existing NewFile is left and false
// returned. A failed copy leaves no partial NewFile behind.
bool CopyFile(const String& ExistingFile, const String& NewFile, bool FailIfExists);
Int64 FileSize(const String& FileName);        // -1 when missing
Integer FileAge(const String& FileName);       // DOS packed date-time, -1 when missing
bool FileAge(const String& FileName, TDateTime& FileDateTime);
Integer DateTimeToFileDate(TDateTime DateTime);
TDateTime FileDateToDateTime(Integer FileDate);

String ExtractFileName(const String& FileName);  // after the last '/'
String ExtractFilePath(const String& FileName);  // up to and with the last '/'
String ExtractFileDir(const String& FileName);   // without the last '/' (but "/" stays)
String ExtractFileExt(const String& FileName);   // from the last '.' of the name, with it
String ExtractFileDrive(const String& FileName); // always "" (no drives here)
String ChangeFileExt(const String& FileName, const String& Extension);
// Absolute, with "." and ".." resolved by name (links are not followed).
String ExpandFileName(const String& FileName);

// Shell special folder numbers (CSIDL values).
constexpr Word CSIDL_DESKTOP = 0x0000;
constexpr Word CSIDL_PERSONAL = 0x0005;
constexpr Word CSIDL_MYDOCUMENTS = CSIDL_PERSONAL;
constexpr Word CSIDL_MYMUSIC = 0x000D;
constexpr Word CSIDL_MYVIDEO = 0x000E;
constexpr Word CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr Word CSIDL_TEMPLATES = 0x0015;
constexpr Word CSIDL_APPDATA = 0x001A;
constexpr Word CSIDL_LOCAL_APPDATA = 0x001C;
constexpr Word CSIDL_MYPICTURES = 0x0027;
constexpr Word CSIDL_PROFILE = 0x0028;

// The folder of a CSIDL from the XDG user folders ($XDG_CONFIG_HOME/user-dirs.dirs, else
// ~/Documents, ~/Videos, ...), created when missing; no trailing '/'. "" when the number is
// unknown, there is no home folder, or the folder cannot be created.
String GetSpecialFolder(Word CSIDL);
// The same folder without creating it (it may not exist).
String LocateSpecialFolder(Word CSIDL);

// The process's private temporary folder (mkdtemp under $TMPDIR or /tmp, mode 0700), made on
// first use and removed with its contents when the process that made it exits. Ends with '/'.
// Raises EInOutError when it cannot be made.
String GetTempFolder();
// Creates a new empty file named Prefix + a unique part in the temporary folder (or in Dir
// when given) and returns its full name; "" on failure.
String GetTempFileName(const String& Prefix, const String& Dir = String());

namespace vantrel::rtl {

// Replaces FileName's contents by Data all at once: Data goes to a new file in the same folder
// (the old file's permissions, else the umask's), is flushed to disk and then renamed over
// FileName (a link is followed to its target). BeforeRename, when given, runs on the complete
// temporary file just before the rename; when it throws, the temporary file is removed and the
// exception passes on. Raises EFCreateError "Cannot create file \"%s\". %s" on failure; the
// old file is then untouched.
void SaveFileAtomically(const String& FileName, const String& Data,
                        const std::function<void(const String& TempName)>& BeforeRename = nullptr);

}  // namespace vantrel::rtl
