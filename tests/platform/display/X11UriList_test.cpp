// Which dropped URIs are files of this machine, and their paths.
#include <gtest/gtest.h>

#include "platform/display/X11UriList.h"

using vantrel::display::LocalPathsOfUriList;

TEST(X11UriList, LocalFileUrisBecomeDecodedPaths) {
  struct Case {
    const char* List;
    std::vector<std::string> Paths;
  };
  const Case Cases[] = {
      {"file:///data/a%20b.mp4\r\nfile:///data/c.avi", {"/data/a b.mp4", "/data/c.avi"}},
      {"file:///data/x.mkv\r\n", {"/data/x.mkv"}},
      {"file:///data/x.mkv\n# a comment\nfile://localhost/tmp/y.mp4\n", {"/data/x.mkv", "/tmp/y.mp4"}},
      {"file://thishost/home/u/v.mp4", {"/home/u/v.mp4"}},
      {"file:/home/u/short%20form.mp4\nfile:relative.mp4\nfile://nohostpath", {"/home/u/short form.mp4"}},
      {"file://otherhost/home/u/v.mp4", {}},                // another machine's file
      {"http://example.org/a.mp4\r\nsmb://s/x", {}},        // not files
      {"file:///m%C3%BCsic/%E2%99%AB.ogg", {"/müsic/♫.ogg"}},
      {"file:///bad%zzescape\r\nfile:///ok", {"/ok"}},      // a malformed escape drops that URI
      {"file:///nul%00byte", {}},
      {"", {}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.List);
    EXPECT_EQ(LocalPathsOfUriList(C.List, "thishost"), C.Paths);
  }
}
