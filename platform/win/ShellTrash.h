// The desktop's Trash (the freedesktop.org layout): $XDG_DATA_HOME/Trash (by default
// ~/.local/share/Trash) with the item under files/ and a files' record under
// info/<name>.trashinfo naming its original path and the time of deletion.
#pragma once

#include <string>

namespace vantrel::win {

// The Trash folder of the user (not made here).
std::string TrashFolder();

// Moves Path into the Trash under a name not yet used there. Only within one file system:
// an item on another one stays where it is. False with Error (a sentence for a person)
// when nothing was moved; TrashedAs gets the item's path in the Trash.
bool MoveToTrash(const std::string& Path, std::string& TrashedAs, std::string& Error);

// Path with the bytes a URL must not hold as %XX ('/' kept), as trashinfo files write it.
std::string TrashEscapePath(const std::string& Path);

}  // namespace vantrel::win
