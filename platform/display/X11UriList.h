// The local files of a dropped text/uri-list (no Xlib here, so it is tested headless).
#pragma once

#include <string>
#include <vector>

namespace vantrel::display {

// The paths of the file URIs of this machine (no host, "localhost" or HostName; the
// short form file:/path included) in List, one per line (CR LF or LF; '#' lines are
// comments), percent-decoded to UTF-8. URIs of other schemes or machines, and malformed
// escapes, are left out.
std::vector<std::string> LocalPathsOfUriList(const std::string& List, const std::string& HostName);

}  // namespace vantrel::display
