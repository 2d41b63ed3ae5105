// Where a stand-in program finds its simulator root and the user's files.
//
// Paths on a command line are the user's, relative to the directory the
// program was started in; the session itself runs with the simulator root as
// its current directory, as the simulator runs in its installation folder.

#ifndef KORVANE_HEADLESS_SESSION_PATHS_H
#define KORVANE_HEADLESS_SESSION_PATHS_H

#include <string>

namespace headless {

struct SessionPaths {
    std::string startDir; // where the program was started
    std::string root;     // the simulator root, absolute
    std::string scenario; // relative to the root, or absolute
};

// root: as given (empty: root/ beside the executable). A relative scenario
// names a file of the root; if the root has no such file but the start
// directory has, that one is taken.
SessionPaths ResolveSessionPaths(const std::string &root, const std::string &scenario);

// path against base; an empty or absolute path is returned as it is.
std::string AbsolutePath(const std::string &path, const std::string &base);

} // namespace headless

#endif // KORVANE_HEADLESS_SESSION_PATHS_H
