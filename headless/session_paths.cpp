#include "headless/session_paths.h"

#include <climits>
#include <unistd.h>

namespace headless {

namespace {

std::string CurrentDirectory()
{
    char buf[PATH_MAX];
    return getcwd(buf, sizeof(buf)) ? std::string(buf) : std::string(".");
}

std::string ExecutableDirectory()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0)
        return ".";
    buf[n] = '\0';
    std::string path(buf);
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool Readable(const std::string &path) { return access(path.c_str(), R_OK) == 0; }

} // namespace

std::string AbsolutePath(const std::string &path, const std::string &base)
{
    if (path.empty() || path[0] == '/')
        return path;
    return base + "/" + path;
}

SessionPaths ResolveSessionPaths(const std::string &root, const std::string &scenario)
{
    SessionPaths paths;
    paths.startDir = CurrentDirectory();
    paths.root = root.empty() ? ExecutableDirectory() + "/root" : AbsolutePath(root, paths.startDir);
    paths.scenario = scenario;
    if (!scenario.empty() && scenario[0] != '/' && !Readable(paths.root + "/" + scenario) &&
        Readable(AbsolutePath(scenario, paths.startDir)))
        paths.scenario = AbsolutePath(scenario, paths.startDir);
    return paths;
}

} // namespace headless
