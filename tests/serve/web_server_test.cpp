// The server on a real loopback socket, driven by a WebSocket client: what
// it refuses and how, and that slow or busy pages lose neither the others'
// frames nor their own input.

#include "apps/serve/web_server.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio.hpp>
#include <boost/beast.hpp>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace serve {
namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace net = boost::asio;
using tcp = net::ip::tcp;
using nlohmann::json;

constexpr auto kWait = std::chrono::seconds(10);

// Runs the client's io_context until *done, or gives up after kWait.
bool RunUntil(net::io_context &ioc, const bool &done)
{
    ioc.restart();
    auto until = std::chrono::steady_clock::now() + kWait;
    while (!done && std::chrono::steady_clock::now() < until)
        ioc.run_for(std::chrono::milliseconds(20));
    return done;
}

class Client {
public:
    // Opens the page's WebSocket; Origin and Host as given ("" for none or
    // the default). The HTTP status of a refused upgrade goes to *status.
    bool open(unsigned short port, const std::string &origin = "", int *status = nullptr)
    {
        bool done = false;
        beast::error_code result;
        tcp::endpoint endpoint(net::ip::make_address("127.0.0.1"), port);
        beast::get_lowest_layer(ws_).async_connect(endpoint, [&](beast::error_code ec) {
            if (ec) {
                result = ec;
                done = true;
                return;
            }
            ws_.auto_fragment(false); // a long message goes as one frame, as announced
            ws_.set_option(websocket::stream_base::decorator([origin](websocket::request_type &req) {
                if (!origin.empty())
                    req.set(http::field::origin, origin);
            }));
            ws_.async_handshake(response_, "127.0.0.1:" + std::to_string(port), "/ws", [&](beast::error_code ec2) {
                result = ec2;
                done = true;
            });
        });
        if (!RunUntil(ioc_, done))
            return false;
        if (status)
            *status = static_cast<int>(response_.result_int());
        return !result;
    }

    // The next message; false when the connection closed (or nothing came).
    bool read(std::string *text, bool *binary = nullptr)
    {
        bool done = false;
        beast::error_code result;
        buffer_.clear();
        ws_.async_read(buffer_, [&](beast::error_code ec, std::size_t) {
            result = ec;
            done = true;
        });
        if (!RunUntil(ioc_, done) || result)
            return false;
        *text = beast::buffers_to_string(buffer_.data());
        if (binary)
            *binary = ws_.got_binary();
        return true;
    }

    bool write(const std::string &text, bool binary = false)
    {
        bool done = false;
        beast::error_code result;
        ws_.binary(binary);
        ws_.async_write(net::buffer(text), [&](beast::error_code ec, std::size_t) {
            result = ec;
            done = true;
        });
        return RunUntil(ioc_, done) && !result;
    }

    // Reads until the server closes; the close frame's code and reason.
    websocket::close_reason closedWith()
    {
        std::string ignored;
        while (read(&ignored)) {
        }
        return ws_.reason();
    }

private:
    net::io_context ioc_;
    websocket::stream<beast::tcp_stream> ws_{ioc_};
    websocket::response_type response_;
    beast::flat_buffer buffer_;
};

// A plain HTTP request with the given Host header (and one more header of
// `padding` bytes): status and body.
std::pair<int, std::string> Get(unsigned short port, const std::string &target, const std::string &host,
                                http::verb method = http::verb::get, std::size_t padding = 0)
{
    net::io_context ioc;
    beast::tcp_stream stream(ioc);
    http::request<http::empty_body> req(method, target, 11);
    req.set(http::field::host, host);
    if (padding)
        req.set("X-Padding", std::string(padding, 'p'));
    http::response<http::string_body> res;
    beast::flat_buffer buffer;
    bool done = false;
    stream.async_connect(tcp::endpoint(net::ip::make_address("127.0.0.1"), port), [&](beast::error_code ec) {
        if (ec) {
            done = true;
            return;
        }
        http::async_write(stream, req, [&](beast::error_code ec2, std::size_t) {
            if (ec2) {
                done = true;
                return;
            }
            http::async_read(stream, buffer, res, [&](beast::error_code, std::size_t) { done = true; });
        });
    });
    RunUntil(ioc, done);
    return {static_cast<int>(res.result_int()), res.body()};
}

OutMessagePtr Text(const std::string &s)
{
    auto m = std::make_shared<OutMessage>();
    m->bytes = s;
    return m;
}

class WebServerTest : public ::testing::Test {
protected:
    void start(int maxPages = 8, std::size_t inputLine = 64)
    {
        inputs_.emplace(inputLine);
        CockpitLayout layout;
        layout.areas = {{0, 1024, 1024, false}, {303, 256, 256, true}};
        hub_.setLayout(layout);
        hub_.publish("hello", Text(R"({"type":"hello"})"));
        WebServerOptions options;
        options.port = 0;
        options.maxPages = maxPages;
        server_ = std::make_unique<WebServer>(hub_, *inputs_, stats_, options);
        std::string error;
        ASSERT_TRUE(server_->start(&error)) << error;
        port_ = server_->port();
        ASSERT_NE(0, port_);
    }

    void TearDown() override
    {
        if (server_)
            server_->stop();
    }

    // Waits for the input line to hold n messages (the network thread puts
    // them there).
    bool waitForInputs(std::size_t n)
    {
        auto until = std::chrono::steady_clock::now() + kWait;
        while (inputs_->size() < n && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return inputs_->size() >= n;
    }

    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

    Hub hub_;
    ServerStats stats_;
    std::optional<InputQueue> inputs_;
    std::unique_ptr<WebServer> server_;
    unsigned short port_ = 0;
};

TEST(WebServerGuardTest, HostAndOriginTable)
{
    EXPECT_TRUE(HostAllowed("127.0.0.1:8730", true));
    EXPECT_TRUE(HostAllowed("127.1.2.3", true));
    EXPECT_TRUE(HostAllowed("LocalHost:8730", true));
    EXPECT_TRUE(HostAllowed("[::1]:8730", true));
    EXPECT_FALSE(HostAllowed("evil.example:8730", true));
    EXPECT_FALSE(HostAllowed("127.0.0.1.evil.example", true));
    EXPECT_FALSE(HostAllowed("128.0.0.1", true));
    EXPECT_FALSE(HostAllowed("127.0.0.256", true));
    EXPECT_FALSE(HostAllowed("127.0.0", true));
    EXPECT_FALSE(HostAllowed("localhost:87x0", true));
    EXPECT_FALSE(HostAllowed("[::1", true));
    EXPECT_FALSE(HostAllowed("", true));
    EXPECT_TRUE(HostAllowed("controlroom.example:8730", false)); // listening beyond loopback

    EXPECT_TRUE(OriginAllowed("", "127.0.0.1:8730")); // not a browser
    EXPECT_TRUE(OriginAllowed("http://127.0.0.1:8730", "127.0.0.1:8730"));
    EXPECT_TRUE(OriginAllowed("HTTP://LOCALHOST:8730", "localhost:8730"));
    EXPECT_FALSE(OriginAllowed("http://evil.example", "127.0.0.1:8730"));
    EXPECT_FALSE(OriginAllowed("http://127.0.0.1:8731", "127.0.0.1:8730"));
    EXPECT_FALSE(OriginAllowed("null", "127.0.0.1:8730"));
    EXPECT_FALSE(OriginAllowed("http://", ""));
}

TEST_F(WebServerTest, HelloFirstThenTheMessagesGoToTheInputLine)
{
    start();
    Client page;
    ASSERT_TRUE(page.open(port_, "http://" + host()));
    std::string text;
    ASSERT_TRUE(page.read(&text));
    EXPECT_EQ(R"({"type":"hello"})", text);
    ASSERT_TRUE(page.write(R"({"type":"click","area":303,"u":0.25,"v":0.5})"));
    ASSERT_TRUE(page.write(R"({"type":"key","code":"KeyT","ctrl":true})"));
    ASSERT_TRUE(waitForInputs(2));
    std::vector<QueuedInput> got = inputs_->drain();
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(303, std::get<ClickMessage>(got[0].input).area);
    EXPECT_EQ(0x14u, std::get<KeyMessage>(got[1].input).keyCode);
    EXPECT_EQ(got[0].page, got[1].page);

    hub_.publish("state", Text(R"({"type":"state"})"));
    ASSERT_TRUE(page.read(&text));
    EXPECT_EQ(R"({"type":"state"})", text);
    EXPECT_EQ(2u, stats_.messagesTaken.load());
}

TEST_F(WebServerTest, RefusedMessagesCloseWithTheirReasonAndAreCounted)
{
    start();
    struct Refused {
        std::string message;
        bool binary;
        int code;
        std::string reason;
    };
    const std::vector<Refused> cases = {
        {std::string(5000, 'x'), false, 1009, "message larger than 4096 bytes"},
        {"\x01\x02", true, 1003, "binary messages are not taken"},
        {"{\"type\":\"fly\"}", false, 1008, "unknown message type \"fly\""},
        {"{\"type\":\"click\",\"area\":303,\"u\":2,\"v\":0.5}", false, 1008, "click u must be within 0..1"},
        {"{\"type\":\"click\",\"area\":0,\"u\":0.5,\"v\":0.5}", false, 1008, "click on area 0, which takes no clicks"},
        {"[1,2]", false, 1008, "malformed message: not a JSON object"},
    };
    for (const Refused &c : cases) {
        Client page;
        ASSERT_TRUE(page.open(port_));
        std::string hello;
        ASSERT_TRUE(page.read(&hello));
        ASSERT_TRUE(page.write(c.message, c.binary));
        websocket::close_reason why = page.closedWith();
        EXPECT_EQ(c.code, why.code) << c.reason;
        EXPECT_EQ(c.reason, std::string(why.reason.data(), why.reason.size())) << c.reason;
    }
    EXPECT_EQ(1u, stats_.refusedCount(Refusal::Oversized));
    EXPECT_EQ(1u, stats_.refusedCount(Refusal::Binary));
    EXPECT_EQ(1u, stats_.refusedCount(Refusal::Unknown));
    EXPECT_EQ(2u, stats_.refusedCount(Refusal::Invalid));
    EXPECT_EQ(1u, stats_.refusedCount(Refusal::Malformed));
    EXPECT_EQ(0u, inputs_->size());

    auto [status, body] = Get(port_, "/stats", host());
    ASSERT_EQ(200, status);
    json stats = json::parse(body);
    EXPECT_EQ(2, stats["messagesRefused"]["invalid"]);
    EXPECT_EQ(1, stats["messagesRefused"]["binary"]);
    EXPECT_EQ(static_cast<int>(cases.size()), stats["pagesOpened"]);
}

TEST_F(WebServerTest, AFrameAnnouncedBeyondAnyMessageEndsThePageUnread)
{
    start();
    Client page;
    ASSERT_TRUE(page.open(port_));
    std::string text;
    ASSERT_TRUE(page.read(&text));
    page.write(std::string(3 << 20, 'x')); // the server may close before all of it is out
    EXPECT_FALSE(page.read(&text));
    auto until = std::chrono::steady_clock::now() + kWait;
    while (stats_.pagesOpen.load() > 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(0, stats_.pagesOpen.load());
    EXPECT_EQ(1u, stats_.refusedCount(Refusal::Oversized));
    EXPECT_EQ(0u, inputs_->size());
}

TEST_F(WebServerTest, OtherSitesAndOtherNamesAreTurnedAway)
{
    start();
    int status = 0;
    Client foreign;
    EXPECT_FALSE(foreign.open(port_, "http://evil.example", &status));
    EXPECT_EQ(403, status);
    EXPECT_EQ(1u, stats_.pagesRefused.load());

    EXPECT_EQ(403, Get(port_, "/", "evil.example:" + std::to_string(port_)).first);
    EXPECT_EQ(200, Get(port_, "/", "localhost:" + std::to_string(port_)).first);
    EXPECT_EQ(404, Get(port_, "/../etc/passwd", host()).first);
    EXPECT_EQ(404, Get(port_, "/nothing", host()).first);
    EXPECT_EQ(405, Get(port_, "/", host(), http::verb::post).first);
    EXPECT_EQ(400, Get(port_, "/", host(), http::verb::get, 10000).first); // headers beyond 8 KiB
    EXPECT_EQ(200, Get(port_, "/app.js", host()).first);
}

TEST_F(WebServerTest, PagesBeyondTheLimitAreTurnedAway)
{
    start(1);
    Client first;
    ASSERT_TRUE(first.open(port_));
    std::string hello;
    ASSERT_TRUE(first.read(&hello));
    Client second;
    int status = 0;
    EXPECT_FALSE(second.open(port_, "", &status));
    EXPECT_EQ(503, status);
}

TEST_F(WebServerTest, APageThatStallsLosesOnlyItsOwnOlderFrames)
{
    start();
    Client stalled; // never reads after its hello
    ASSERT_TRUE(stalled.open(port_));
    Client watcher;
    ASSERT_TRUE(watcher.open(port_));
    std::string text;
    ASSERT_TRUE(watcher.read(&text));

    // Far more than the stalled page's socket can hold: publishing must go
    // on all the same.
    const int kFrames = 200;
    for (int i = 0; i < kFrames; ++i) {
        auto m = std::make_shared<OutMessage>();
        m->binary = true;
        m->bytes = std::to_string(i) + ":" + std::string(256 * 1024, 'p');
        hub_.publish("area/0", m);
    }
    std::string last = std::to_string(kFrames - 1) + ":";
    bool gotLast = false;
    while (!gotLast && watcher.read(&text))
        gotLast = text.compare(0, last.size(), last) == 0;
    EXPECT_TRUE(gotLast);
    EXPECT_GT(stats_.messagesDropped.load(), 0u);
}

TEST_F(WebServerTest, AFullInputLineHoldsThePageBackWithoutLosingInput)
{
    start(8, 2);
    Client page;
    ASSERT_TRUE(page.open(port_));
    std::string hello;
    ASSERT_TRUE(page.read(&hello));
    const int kMessages = 10;
    for (int i = 1; i <= kMessages; ++i)
        ASSERT_TRUE(page.write(R"({"type":"warp","warp":)" + std::to_string(i) + "}"));
    std::vector<double> warps;
    auto until = std::chrono::steady_clock::now() + kWait;
    while (warps.size() < kMessages && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::vector<QueuedInput> got = inputs_->drain();
        EXPECT_LE(got.size(), 2u);
        for (const QueuedInput &q : got)
            warps.push_back(std::get<WarpMessage>(q.input).warp);
    }
    EXPECT_EQ((std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), warps);
    EXPECT_GT(stats_.readsPaused.load(), 0u);
}

} // namespace
} // namespace serve
