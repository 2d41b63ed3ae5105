#include "apps/serve/web_server.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include <boost/asio.hpp>
#include <boost/beast.hpp>

#include "apps/serve/outbox.h"
#include "apps/serve/page_input.h"
#include "apps/serve/web_assets.h"

namespace serve {

namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace net = boost::asio;
using tcp = net::ip::tcp;

constexpr std::chrono::seconds kHttpTimeout(30);
constexpr std::size_t kHttpHeaderLimit = 8192;
constexpr std::size_t kHttpBodyLimit = 4096;
// Beast's own bound on a whole message, behind ours (kMaxMessageBytes), for
// frames that announce a payload beyond it: those are refused before a
// byte of them is read, with the bare close code 1009.
constexpr std::size_t kWebSocketMessageLimit = 1 << 20;
const char kServerName[] = "korvane-serve";
// The page's own files and the WebSocket of the same origin, and never
// inside another site's frame (a click there would be the other site's).
const char kContentSecurityPolicy[] =
    "default-src 'self'; img-src 'self' blob: data:; connect-src 'self'; frame-ancestors 'none'";

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool AllDigits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool LoopbackIPv4(std::string_view name)
{
    int parts = 0;
    size_t start = 0;
    while (start <= name.size()) {
        size_t dot = name.find('.', start);
        std::string_view part = name.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (!AllDigits(part) || part.size() > 3 || std::stoi(std::string(part)) > 255)
            return false;
        if (parts == 0 && part != "127")
            return false;
        ++parts;
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    return parts == 4;
}

// Everything the connections share.
struct Shared {
    Hub &hub;
    InputQueue &inputs;
    ServerStats &stats;
    WebServerOptions options;
    bool loopbackOnly = true;
    std::atomic<std::uint64_t> nextPage{1};
};

// One page's WebSocket.
class PageConnection final : public Peer, public std::enable_shared_from_this<PageConnection> {
public:
    PageConnection(tcp::socket &&socket, Shared &shared)
        : ws_(std::move(socket)), shared_(shared), id_(shared.nextPage++)
    {
    }

    void run(http::request<http::string_body> request)
    {
        websocket::stream_base::timeout timeout;
        timeout.handshake_timeout = std::chrono::seconds(10);
        timeout.idle_timeout = std::chrono::seconds(60);
        timeout.keep_alive_pings = true;
        ws_.set_option(timeout);
        ws_.set_option(websocket::stream_base::decorator(
            [](websocket::response_type &res) { res.set(http::field::server, kServerName); }));
        ws_.read_message_max(kWebSocketMessageLimit);
        ws_.auto_fragment(false);
        beast::get_lowest_layer(ws_).socket().set_option(tcp::no_delay(true));
        ws_.async_accept(request, beast::bind_front_handler(&PageConnection::onAccept, shared_from_this()));
    }

    void deliver(const std::string &stream, const OutMessagePtr &msg) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closing_)
            return;
        shared_.stats.messagesDropped += outbox_.put(stream, msg);
        if (!writing_) {
            writing_ = true;
            net::post(ws_.get_executor(), beast::bind_front_handler(&PageConnection::writeNext, shared_from_this()));
        }
    }

private:
    void onAccept(beast::error_code ec)
    {
        if (ec)
            return;
        opened_ = true;
        shared_.stats.pagesOpened++;
        shared_.stats.pagesOpen++;
        shared_.hub.attach(shared_from_this());
        readMore();
    }

    void readMore()
    {
        ws_.async_read_some(buffer_, kMaxMessageBytes + 1,
                            beast::bind_front_handler(&PageConnection::onRead, shared_from_this()));
    }

    void onRead(beast::error_code ec, std::size_t)
    {
        if (ec) {
            // A frame announced beyond Beast's bound: Beast has already sent
            // the close (1009) for it.
            if (ec == websocket::error::message_too_big && !refused_)
                shared_.stats.refused(Refusal::Oversized);
            finish();
            return;
        }
        if (refused_) {
            // Closing: what still comes is read only to reach the peer's close.
            buffer_.clear();
            readMore();
            return;
        }
        if (ws_.got_binary()) {
            refuse(Refusal::Binary, "binary messages are not taken");
            return;
        }
        if (buffer_.size() > kMaxMessageBytes) {
            refuse(Refusal::Oversized, "message larger than " + std::to_string(kMaxMessageBytes) + " bytes");
            return;
        }
        if (!ws_.is_message_done()) {
            readMore();
            return;
        }
        std::string text = beast::buffers_to_string(buffer_.data());
        buffer_.consume(buffer_.size());
        PageInput input;
        RefusedInput refused;
        if (!ParsePageInput(text, shared_.hub.clickableAreas(), &input, &refused)) {
            refuse(refused.kind, refused.reason);
            return;
        }
        shared_.stats.messagesTaken++;
        pending_ = QueuedInput{id_, std::move(input)};
        queuePending();
    }

    // Hands the message read last to the simulation; while the line is
    // full, reading waits (nothing is dropped) until the line has room.
    void queuePending()
    {
        if (!pending_ || refused_)
            return;
        std::weak_ptr<PageConnection> weak = weak_from_this();
        auto onRoom = [weak] {
            if (auto self = weak.lock())
                net::post(self->ws_.get_executor(),
                          beast::bind_front_handler(&PageConnection::queuePending, self));
        };
        if (!shared_.inputs.tryPush(*pending_, onRoom)) {
            shared_.stats.readsPaused++;
            return;
        }
        pending_.reset();
        readMore();
    }

    void refuse(Refusal kind, const std::string &reason)
    {
        shared_.stats.refused(kind);
        refused_ = true;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closing_ = true;
        }
        buffer_.clear();
        websocket::close_reason why(static_cast<websocket::close_code>(RefusalCloseCode(kind)), reason);
        ws_.async_close(why, [self = shared_from_this()](beast::error_code) {});
        readMore();
    }

    void writeNext()
    {
        OutMessagePtr msg;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!closing_)
                msg = outbox_.take();
            if (!msg) {
                writing_ = false;
                return;
            }
        }
        current_ = std::move(msg);
        ws_.binary(current_->binary);
        ws_.async_write(net::buffer(current_->bytes),
                        beast::bind_front_handler(&PageConnection::onWrite, shared_from_this()));
    }

    void onWrite(beast::error_code ec, std::size_t bytes)
    {
        current_.reset();
        if (ec) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                closing_ = true;
                writing_ = false;
            }
            finish();
            return;
        }
        shared_.stats.messagesSent++;
        shared_.stats.bytesSent += bytes;
        writeNext();
    }

    void finish()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closing_ = true;
        }
        if (finished_)
            return;
        finished_ = true;
        if (opened_) {
            shared_.stats.pagesOpen--;
            shared_.hub.detach(this);
        }
    }

    websocket::stream<beast::tcp_stream> ws_;
    Shared &shared_;
    const std::uint64_t id_;
    beast::flat_buffer buffer_;
    std::optional<QueuedInput> pending_; // read but not yet in the input line
    OutMessagePtr current_;              // being written
    bool opened_ = false;
    bool refused_ = false;
    bool finished_ = false;
    std::mutex mutex_; // guards the members below, which deliver() reaches from other threads
    Outbox outbox_;
    bool writing_ = false;
    bool closing_ = false;
};

// One HTTP connection: requests for files and counters, or the upgrade to a
// page's WebSocket.
class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
public:
    HttpConnection(tcp::socket &&socket, Shared &shared) : stream_(std::move(socket)), shared_(shared) {}

    void run()
    {
        net::dispatch(stream_.get_executor(), beast::bind_front_handler(&HttpConnection::readRequest, shared_from_this()));
    }

private:
    void readRequest()
    {
        parser_.emplace();
        parser_->header_limit(kHttpHeaderLimit);
        parser_->body_limit(kHttpBodyLimit);
        stream_.expires_after(kHttpTimeout);
        http::async_read(stream_, buffer_, *parser_,
                         beast::bind_front_handler(&HttpConnection::onRequest, shared_from_this()));
    }

    void onRequest(beast::error_code ec, std::size_t)
    {
        if (ec == http::error::end_of_stream || ec == beast::error::timeout || ec == net::error::operation_aborted) {
            close();
            return;
        }
        if (ec) {
            shared_.stats.httpRefused++;
            respond(http::status::bad_request, "text/plain; charset=utf-8", "Bad request\n", false);
            return;
        }
        http::request<http::string_body> req = parser_->release();
        shared_.stats.httpRequests++;
        std::string host(req[http::field::host]);
        if (!HostAllowed(host, shared_.loopbackOnly)) {
            shared_.stats.httpRefused++;
            respond(http::status::forbidden, "text/plain; charset=utf-8", "This server answers only to its loopback address\n",
                    false);
            return;
        }
        std::string target(req.target());
        std::string path = target.substr(0, target.find('?'));
        if (websocket::is_upgrade(req)) {
            upgrade(std::move(req), path, host);
            return;
        }
        if (req.method() != http::verb::get) {
            shared_.stats.httpRefused++;
            respond(http::status::method_not_allowed, "text/plain; charset=utf-8", "Only GET is served\n",
                    req.keep_alive());
            return;
        }
        if (path == "/stats") {
            respond(http::status::ok, "application/json", shared_.stats.toJson(), req.keep_alive());
            return;
        }
        if (const WebAsset *asset = FindWebAsset(path)) {
            respond(http::status::ok, asset->contentType,
                    std::string(reinterpret_cast<const char *>(asset->data), asset->size), req.keep_alive());
            return;
        }
        shared_.stats.httpRefused++;
        respond(http::status::not_found, "text/plain; charset=utf-8", "Not found\n", req.keep_alive());
    }

    void upgrade(http::request<http::string_body> req, const std::string &path, const std::string &host)
    {
        if (path != "/ws") {
            shared_.stats.httpRefused++;
            respond(http::status::not_found, "text/plain; charset=utf-8", "Not found\n", false);
            return;
        }
        if (!OriginAllowed(std::string(req[http::field::origin]), host)) {
            shared_.stats.pagesRefused++;
            respond(http::status::forbidden, "text/plain; charset=utf-8", "Pages of other sites may not connect\n",
                    false);
            return;
        }
        if (shared_.stats.pagesOpen.load() >= shared_.options.maxPages) {
            shared_.stats.pagesRefused++;
            respond(http::status::service_unavailable, "text/plain; charset=utf-8", "Too many pages are connected\n",
                    false);
            return;
        }
        stream_.expires_never();
        std::make_shared<PageConnection>(stream_.release_socket(), shared_)->run(std::move(req));
    }

    void respond(http::status status, const char *type, std::string body, bool keepAlive)
    {
        auto res = std::make_shared<http::response<http::string_body>>(status, 11);
        res->set(http::field::server, kServerName);
        res->set(http::field::content_type, type);
        res->set(http::field::cache_control, "no-store");
        res->set("X-Content-Type-Options", "nosniff");
        res->set("Content-Security-Policy", kContentSecurityPolicy);
        res->keep_alive(keepAlive);
        res->body() = std::move(body);
        res->prepare_payload();
        http::async_write(stream_, *res,
                          [self = shared_from_this(), res](beast::error_code ec, std::size_t) {
                              if (!ec && res->keep_alive())
                                  self->readRequest();
                              else
                                  self->close();
                          });
    }

    void close()
    {
        beast::error_code ec;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ec);
    }

    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    Shared &shared_;
};

class Listener : public std::enable_shared_from_this<Listener> {
public:
    Listener(net::io_context &ioc, Shared &shared) : ioc_(ioc), acceptor_(ioc), shared_(shared) {}

    bool open(const tcp::endpoint &endpoint, std::string *error)
    {
        beast::error_code ec;
        acceptor_.open(endpoint.protocol(), ec);
        if (!ec)
            acceptor_.set_option(net::socket_base::reuse_address(true), ec);
        if (!ec)
            acceptor_.bind(endpoint, ec);
        if (!ec)
            acceptor_.listen(net::socket_base::max_listen_connections, ec);
        if (ec) {
            if (error)
                *error = "cannot listen on " + endpoint.address().to_string() + ":" + std::to_string(endpoint.port()) +
                         ": " + ec.message();
            return false;
        }
        return true;
    }

    unsigned short port() const
    {
        beast::error_code ec;
        return acceptor_.local_endpoint(ec).port();
    }

    void accept()
    {
        acceptor_.async_accept(net::make_strand(ioc_), beast::bind_front_handler(&Listener::onAccept, shared_from_this()));
    }

    void close()
    {
        beast::error_code ec;
        acceptor_.close(ec);
    }

private:
    void onAccept(beast::error_code ec, tcp::socket socket)
    {
        if (!acceptor_.is_open())
            return;
        if (!ec)
            std::make_shared<HttpConnection>(std::move(socket), shared_)->run();
        accept();
    }

    net::io_context &ioc_;
    tcp::acceptor acceptor_;
    Shared &shared_;
};

} // namespace

bool HostAllowed(std::string_view host, bool loopbackOnly)
{
    if (!loopbackOnly)
        return true;
    std::string_view name = host;
    std::string_view rest; // ":port" or nothing
    if (!host.empty() && host.front() == '[') {
        size_t close = host.find(']');
        if (close == std::string_view::npos)
            return false;
        name = host.substr(0, close + 1);
        rest = host.substr(close + 1);
    } else if (size_t colon = host.find(':'); colon != std::string_view::npos) {
        name = host.substr(0, colon);
        rest = host.substr(colon);
    }
    if (!rest.empty() && (rest.front() != ':' || !AllDigits(rest.substr(1))))
        return false;
    return EqualNoCase(name, "localhost") || name == "[::1]" || LoopbackIPv4(name);
}

bool OriginAllowed(std::string_view origin, std::string_view host)
{
    if (origin.empty())
        return true;
    const std::string_view scheme = "http://";
    return origin.size() > scheme.size() && EqualNoCase(origin.substr(0, scheme.size()), scheme) &&
           !host.empty() && EqualNoCase(origin.substr(scheme.size()), host);
}

struct WebServer::Impl {
    Impl(Hub &hub, InputQueue &inputs, ServerStats &stats, WebServerOptions options)
        : shared{hub, inputs, stats, std::move(options)}
    {
    }

    Shared shared;
    net::io_context ioc{1};
    std::shared_ptr<Listener> listener;
    std::thread thread;
    unsigned short port = 0;
};

WebServer::WebServer(Hub &hub, InputQueue &inputs, ServerStats &stats, WebServerOptions options)
    : impl_(std::make_unique<Impl>(hub, inputs, stats, std::move(options)))
{
}

WebServer::~WebServer() { stop(); }

bool WebServer::start(std::string *error)
{
    beast::error_code ec;
    net::ip::address address = net::ip::make_address(impl_->shared.options.listenAddress, ec);
    if (ec) {
        if (error)
            *error = "not an address to listen on: " + impl_->shared.options.listenAddress;
        return false;
    }
    impl_->shared.loopbackOnly = address.is_loopback();
    impl_->listener = std::make_shared<Listener>(impl_->ioc, impl_->shared);
    if (!impl_->listener->open(tcp::endpoint(address, impl_->shared.options.port), error))
        return false;
    impl_->port = impl_->listener->port();
    impl_->listener->accept();
    impl_->thread = std::thread([this] { impl_->ioc.run(); });
    return true;
}

void WebServer::stop()
{
    if (!impl_ || !impl_->thread.joinable())
        return;
    impl_->ioc.stop();
    impl_->thread.join();
    impl_->listener->close();
    // The pages' connections go with the io_context's remaining work.
    impl_->shared.hub.detachAll();
}

unsigned short WebServer::port() const { return impl_->port; }

std::string WebServer::url() const
{
    std::string host = impl_->shared.options.listenAddress;
    if (host.find(':') != std::string::npos)
        host = "[" + host + "]";
    return "http://" + host + ":" + std::to_string(impl_->port) + "/";
}

} // namespace serve
