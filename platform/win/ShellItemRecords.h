// Reading the records of shell items from the file system and walking a record chain back
// to its path; shared by the shell folders and the special folders.
#pragma once

#include <string>
#include <vector>

#include "platform/win/ShellItemIds.h"
#include "platform/win/Volumes.h"

constexpr uint32_t ERROR_INVALID_NAME = 123;
constexpr uint32_t ERROR_ALREADY_EXISTS = 183;

namespace vantrel::win {

// Folder + "/" + Name ("/" + Name at the root).
std::string JoinShellPath(const std::string& Folder, const std::string& Name);
// $HOME without a trailing '/'; empty when unset.
std::string ShellHomePath();
// The record of Folder/Name as it is now (links followed for the kind, the link itself
// marked); false when it does not exist.
bool ReadShellRecord(const std::string& Folder, const std::string& Name, ShellItemRecord& R);
bool HomeShellRecord(ShellItemRecord& R);  // false without a home folder
ShellItemRecord ComputerRecord();
ShellItemRecord VolumeShellRecord(const Volume& V);
// The file-system path of an absolute record chain; false for the Desktop, Computer or a
// chain that does not start at the Desktop's children.
bool ShellRecordsPath(const std::vector<ShellItemRecord>& Chain, std::string& Path);
// Renames without ever replacing an existing NewPath.
HRESULT RenameShellItem(const std::string& OldPath, const std::string& NewPath);

}  // namespace vantrel::win
