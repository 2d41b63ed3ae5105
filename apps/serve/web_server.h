// The server's network side (Boost.Beast): HTTP for the page's files and the
// counters, WebSocket for the pages' live connections. Its threads only move
// bytes: a page's messages are read, checked (page_input.h) and queued for
// the simulation thread; what the hub delivers is written out from the
// page's outbox, newest per stream.
//
//   GET /        the control-room page (and its files, web_assets.h)
//   GET /stats   the counters (server_stats.h), JSON
//   GET /ws      the WebSocket of one page (page_input.h, page_output.h)
//
// Guarding the control room: a page on any other site the user has open
// could otherwise reach it through the browser, so a WebSocket upgrade with
// an Origin header is taken only from the server's own origin, and while the
// server listens on a loopback address it answers only requests whose Host
// is a loopback name (no site can then reach it by pointing its own name at
// 127.0.0.1). At most maxPages pages are connected at once.

#ifndef KORVANE_APPS_SERVE_WEB_SERVER_H
#define KORVANE_APPS_SERVE_WEB_SERVER_H

#include <memory>
#include <string>
#include <string_view>

#include "apps/serve/hub.h"
#include "apps/serve/input_queue.h"
#include "apps/serve/server_stats.h"

namespace serve {

struct WebServerOptions {
    std::string listenAddress = "127.0.0.1";
    unsigned short port = 8730; // 0: any free port
    int maxPages = 64;
};

// Whether a request's Host header is acceptable: any host unless the server
// listens on a loopback address, then only localhost, 127.x.x.x and [::1]
// (each with or without a port).
bool HostAllowed(std::string_view host, bool loopbackOnly);
// Whether a WebSocket upgrade's Origin header is acceptable: none at all
// (not a browser), or exactly http://<host> of the request itself.
bool OriginAllowed(std::string_view origin, std::string_view host);

class WebServer {
public:
    WebServer(Hub &hub, InputQueue &inputs, ServerStats &stats, WebServerOptions options);
    ~WebServer();
    WebServer(const WebServer &) = delete;
    WebServer &operator=(const WebServer &) = delete;

    // Binds the address and starts the network thread. False with *error if
    // the address cannot be used.
    bool start(std::string *error);
    // Closes every connection and stops the thread.
    void stop();
    // The port listened on (the one chosen when options asked for 0).
    unsigned short port() const;
    // The address as a user would type it: http://127.0.0.1:8730/
    std::string url() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace serve

#endif // KORVANE_APPS_SERVE_WEB_SERVER_H
