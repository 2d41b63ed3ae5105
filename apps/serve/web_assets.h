// The control-room page's files (web/), built into the server so that it
// needs nothing beside itself.

#ifndef KORVANE_APPS_SERVE_WEB_ASSETS_H
#define KORVANE_APPS_SERVE_WEB_ASSETS_H

#include <cstddef>
#include <string_view>

namespace serve {

struct WebAsset {
    const char *path;        // as requested: "/index.html", "/app.js", ...
    const char *contentType;
    const unsigned char *data;
    std::size_t size;
};

// The file served at a path ("/" is "/index.html"); null if there is none.
const WebAsset *FindWebAsset(std::string_view path);

} // namespace serve

#endif // KORVANE_APPS_SERVE_WEB_ASSETS_H
