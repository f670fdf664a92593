// The page server's connection loop on a real socket of 127.0.0.1, with a
// translation that echoes: slow and hostile clients get bounded answers and
// never keep others waiting, and translations all run on one thread.
#include <gtest/gtest.h>

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/server/connection_loop.h"
#include "app/server/listening_socket.h"
#include "app/server/page_request_handler.h"
#include "app_test_support.h"
#include "platform/utf8.h"
#include "socket_client.h"

namespace app_test {
namespace {

using namespace std::chrono_literals;

// A connection loop serving on a free port until the object goes.
class LoopServer {
 public:
  explicit LoopServer(TranslateFunction translate, CServerLimits limits = {}) {
    std::string error;
    EXPECT_TRUE(listener_.Open(0, error)) << error;
    handler_ = std::make_unique<CPageRequestHandler>("127.0.0.1:" + std::to_string(port()), std::move(translate));
    loop_ = std::make_unique<CConnectionLoop>(listener_, *handler_, stop_, limits);
    thread_ = std::thread([this] { EXPECT_TRUE(loop_->Run()); });
  }
  ~LoopServer() {
    const uint64_t one = 1;
    EXPECT_EQ(write(stop_, &one, sizeof one), static_cast<ssize_t>(sizeof one));
    thread_.join();
    EXPECT_TRUE(loop_->StopEngine(2s));
    close(stop_);
  }
  int port() const { return listener_.port(); }

 private:
  int stop_ = eventfd(0, EFD_CLOEXEC);
  CListeningSocket listener_;
  std::unique_ptr<CPageRequestHandler> handler_;
  std::unique_ptr<CConnectionLoop> loop_;
  std::thread thread_;
};

std::string Head(int port, const std::string& fields) {
  return "GET / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n" + fields + "\r\n";
}

std::string Flood(size_t lines) {
  std::string fields;
  for (size_t i = 0; i < lines; ++i) fields += "X-Flood-" + std::to_string(i) + ": aaaaaaaaaaaaaaaaaaaa\r\n";
  return fields;
}

TEST(ConnectionLoop, EightSlowClientsDoNotDelayATranslation) {
  LoopServer server(EchoTranslation);
  const auto slow = OpenSlowClients(server.port());
  for (const auto& client : slow) ASSERT_TRUE(client->connected());
  const TimedResponse timed = TranslateWithin2s(server.port(), "I gave him a book");
  EXPECT_TRUE(timed.inTime);
  EXPECT_EQ(StatusOf(timed.response), 200) << timed.response;
  EXPECT_NE(BodyOf(timed.response).find("[I gave him a book]"), std::string::npos) << timed.response;
}

struct WireCase {
  const char* name;
  std::string request;
  int status;
};

TEST(ConnectionLoop, HostileRequestsGetTheirRefusalOverTheWire) {
  LoopServer server(EchoTranslation);
  const int port = server.port();
  const std::string host = "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";
  const std::string gzipBody(4000, '\x1f');
  const std::vector<WireCase> cases = {
      {"the page", Head(port, ""), 200},
      {"the page as localhost", "GET / HTTP/1.1\r\nHost: localhost:" + std::to_string(port) + "\r\n\r\n", 200},
      {"the page as [::1]", "GET / HTTP/1.1\r\nHost: [::1]:" + std::to_string(port) + "\r\n\r\n", 200},
      {"a flood of 4,000 header lines", Head(port, Flood(4000)), 431},
      {"two hosts", Head(port, "Host: rebound.example\r\n"), 400},
      {"a compressed body",
       "POST /translate HTTP/1.1\r\n" + host +
           "Content-Type: application/json\r\nContent-Encoding: gzip\r\nContent-Length: 4000\r\n\r\n" + gzipBody,
       415},
      {"5 MB announced with an expectation",
       "POST /translate HTTP/1.1\r\n" + host +
           "Content-Type: application/json\r\nExpect: 100-continue\r\nContent-Length: 5000000\r\n\r\n",
       413},
      {"garbage", std::string("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n", 15), 400},
  };
  for (const WireCase& c : cases) {
    SocketClient client(port);
    ASSERT_TRUE(client.Send(c.request)) << c.name;
    const std::string response = client.ReadUntilClosed(3s);
    EXPECT_EQ(StatusOf(response), c.status) << c.name << ": " << response.substr(0, 200);
  }
}

// The interim answer comes before the body; the body then gets its translation.
TEST(ConnectionLoop, AnAcceptedExpectationHearsContinueFirst) {
  LoopServer server(EchoTranslation);
  const std::string body = R"({"sentence": "a"})";
  SocketClient client(server.port());
  ASSERT_TRUE(client.Send("POST /translate HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                          "\r\nContent-Type: application/json\r\nExpect: 100-continue\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\n\r\n"));
  const std::string interim = client.ReadUntilClosed(500ms);
  EXPECT_EQ(interim, "HTTP/1.1 100 Continue\r\n\r\n");
  ASSERT_TRUE(client.Send(body));
  const std::string response = client.ReadUntilClosed(3s);
  EXPECT_EQ(StatusOf(response), 200) << response;
}

TEST(ConnectionLoop, ARequestThatTakesTooLongIsAnsweredAndClosed) {
  CServerLimits limits;
  limits.requestTime = 300ms;
  LoopServer server(EchoTranslation, limits);
  SocketClient client(server.port());
  ASSERT_TRUE(client.Send("GET / HTTP/1.1\r\n"));
  const std::string response = client.ReadUntilClosed(3s);
  EXPECT_EQ(StatusOf(response), 408) << response;
}

// A client at its bound loses its oldest unfinished connection to a new one.
TEST(ConnectionLoop, AClientAtItsBoundLosesItsOldestUnfinishedConnection) {
  CServerLimits limits;
  limits.connectionsPerClient = 4;
  LoopServer server(EchoTranslation, limits);
  std::vector<std::unique_ptr<SocketClient>> idle;
  for (int i = 0; i < 4; ++i) {
    idle.push_back(std::make_unique<SocketClient>(server.port()));
    ASSERT_TRUE(idle.back()->Send("GET"));
  }
  SocketClient fresh(server.port());
  ASSERT_TRUE(fresh.Send(Head(server.port(), "")));
  EXPECT_EQ(StatusOf(fresh.ReadUntilClosed(3s)), 200);
  EXPECT_TRUE(idle.front()->ClosedWithin(2s)) << "the oldest made way";
  EXPECT_FALSE(idle.back()->ClosedWithin(100ms)) << "the newest idle one stays";
}

// A client gone before its answer: the answer is dropped (no SIGPIPE ends
// the server) and the next client is served.
TEST(ConnectionLoop, AClientGoneBeforeItsTranslationLeavesTheServerServing) {
  LoopServer server([](const WString& sentence, const CTranslateOptions& options) {
    std::this_thread::sleep_for(200ms);
    return EchoTranslation(sentence, options);
  });
  {
    SocketClient gone(server.port());
    ASSERT_TRUE(gone.Send(TranslateRequest(server.port(), "gone")));
    std::this_thread::sleep_for(50ms);
  }
  const std::string response = [&] {
    SocketClient next(server.port());
    next.Send(TranslateRequest(server.port(), "next"));
    return next.ReadUntilClosed(3s);
  }();
  EXPECT_EQ(StatusOf(response), 200) << response;
  EXPECT_NE(BodyOf(response).find("[next]"), std::string::npos) << response;
}

TEST(ConnectionLoop, TranslationsRunOnOneEngineThreadOneAtATime) {
  std::mutex mutex;
  std::set<std::thread::id> threads;
  std::atomic<int> running{0};
  std::atomic<int> mostAtOnce{0};
  LoopServer server([&](const WString& sentence, const CTranslateOptions& options) {
    const int now = ++running;
    if (now > mostAtOnce) mostAtOnce = now;
    {
      const std::lock_guard<std::mutex> lock(mutex);
      threads.insert(std::this_thread::get_id());
    }
    std::this_thread::sleep_for(5ms);
    --running;
    return EchoTranslation(sentence, options);
  });
  std::vector<std::thread> clients;
  std::atomic<int> answered{0};
  for (int i = 0; i < 6; ++i) {
    clients.emplace_back([&server, &answered, i] {
      SocketClient client(server.port());
      if (!client.Send(TranslateRequest(server.port(), "sentence " + std::to_string(i)))) return;
      const std::string response = client.ReadUntilClosed(5s);
      if (StatusOf(response) == 200 &&
          BodyOf(response).find("[sentence " + std::to_string(i) + "]") != std::string::npos) {
        ++answered;
      }
    });
  }
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(answered, 6);
  EXPECT_EQ(mostAtOnce, 1);
  EXPECT_EQ(threads.size(), 1u);
  EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
}

}  // namespace
}  // namespace app_test
