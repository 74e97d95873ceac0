// Small helpers of the media engine and the application.
#include "media/MyUtils.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

Int64 GetFileSizeByName(const String& AFileName) {
  if (AFileName.empty()) return -1;
  return FileSize(ExpandFileName(AFileName));
}

String FetchString(String& AInput, const String& ADelimiter, bool ADelete) {
  const size_t P = ADelimiter.empty() ? String::npos : AInput.find(ADelimiter);
  if (P == String::npos) {
    String Result = AInput;
    if (ADelete) AInput.clear();
    return Result;
  }
  String Result = AInput.substr(0, P);
  if (ADelete) AInput.erase(0, P + ADelimiter.size());
  return Result;
}

String FormatByteSize(Int64 ASize) {
  constexpr Int64 KiB = 1024;
  constexpr Int64 MiB = KiB * 1024;
  constexpr Int64 GiB = MiB * 1024;
  if (ASize <= KiB) return Format("%d Byte", {ASize});
  if (ASize <= MiB) return Format("%.2f KB", {static_cast<double>(ASize) / KiB});
  if (ASize <= GiB) return Format("%.2f MB", {static_cast<double>(ASize) / MiB});
  return Format("%.2f GB", {static_cast<double>(ASize) / GiB});
}

String DateTimeToText(const String& AFormat, TDateTime ADateTime) {
  return FormatDateTime(AFormat, ADateTime);
}

void ProcessPendingMessages() {
  if (!IsMainThread()) return;
  while (CheckSynchronize(0)) {
  }
}

}  // namespace vantrel::media
