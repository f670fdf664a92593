// The page server's answers, without a socket: which requests it serves and
// which it refuses, and that translations never overlap.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/server/http_request_reader.h"
#include "app/server/page_request_handler.h"
#include "app_test_support.h"
#include "platform/utf8.h"

namespace {

constexpr const char* kOwnHost = "127.0.0.1:8765";
constexpr const char* kJson = "application/json";

using app_test::EchoTranslation;
constexpr auto Echo = EchoTranslation;

CPageRequest Get(const std::string& path) { return CPageRequest{"GET", path, kOwnHost, "", "", ""}; }

CPageRequest Post(const std::string& body, const std::string& contentType = kJson) {
  return CPageRequest{"POST", "/translate", kOwnHost, "", contentType, body};
}

CPageRequest WithHost(CPageRequest request, const std::string& host) {
  request.host = host;
  return request;
}

CPageRequest WithOrigin(CPageRequest request, const std::string& origin) {
  request.origin = origin;
  return request;
}

CPageRequest WithMethod(CPageRequest request, const std::string& method) {
  request.method = method;
  return request;
}

// A Translate body of exactly the size, padded with blanks after the object.
std::string BodyOfSize(size_t size) {
  std::string body = R"({"sentence": "I gave him a book"})";
  body.resize(size, ' ');
  return body;
}

struct RequestCase {
  const char* name;
  CPageRequest request;
  int status;
  const char* contentTypeStart;
};

TEST(PageRequestHandler, ServesThePageAndRefusesEverythingElse) {
  const std::vector<RequestCase> cases = {
      {"the page", Get("/"), 200, "text/html"},
      {"the page by name", Get("/index.html"), 200, "text/html"},
      {"its style", Get("/page.css"), 200, "text/css"},
      {"its script", Get("/page.js"), 200, "text/javascript"},
      {"its banner", Get("/banner.svg"), 200, "image/svg+xml"},
      {"the window's texts", Get("/dialog-texts"), 200, "application/json"},
      {"a translation", Post(R"({"sentence": "I gave him a book"})"), 200, "application/json"},
      {"JSON with a charset", Post(R"({"sentence": "a"})", "Application/JSON; charset=utf-8"), 200, "application/json"},
      {"the box ticked", Post(R"({"sentence": "a", "showCStructure": true})"), 200, "application/json"},
      {"exactly 64 KiB", Post(BodyOfSize(64 * 1024)), 200, "application/json"},
      {"from its own page", WithOrigin(Post(R"({"sentence": "a"})"), "http://127.0.0.1:8765"), 200, "application/json"},
      // Host: only the server's own address, by number or as this machine.
      {"localhost by name", WithHost(Get("/"), "localhost:8765"), 200, "text/html"},
      {"the IPv6 loopback", WithHost(Get("/"), "[::1]:8765"), 200, "text/html"},
      {"a translation from the page at localhost",
       WithOrigin(WithHost(Post(R"({"sentence": "a"})"), "localhost:8765"), "http://localhost:8765"), 200,
       "application/json"},
      {"another host", WithHost(Get("/"), "attacker.example"), 403, "text/plain"},
      {"another port", WithHost(Get("/"), "127.0.0.1:80"), 403, "text/plain"},
      {"localhost on another port", WithHost(Get("/"), "localhost:80"), 403, "text/plain"},
      {"localhost without a port", WithHost(Get("/"), "localhost"), 403, "text/plain"},
      {"a page of localhost posting to the number", WithOrigin(Post(R"({"sentence": "a"})"), "http://localhost:8765"),
       403, "text/plain"},
      {"no host", WithHost(Get("/"), ""), 403, "text/plain"},
      {"a translation for another host", WithHost(Post(R"({"sentence": "a"})"), "attacker.example"), 403, "text/plain"},
      {"a translation from another site", WithOrigin(Post(R"({"sentence": "a"})"), "http://attacker.example"), 403,
       "text/plain"},
      // Unknown paths: no file is served by a name taken from a request.
      {"the configuration", Get("/EConfig.inf"), 404, "text/plain"},
      {"a data file", Get("/data/LogFile.Log"), 404, "text/plain"},
      {"a climb out", Get("/../dataroot/EConfig.inf"), 404, "text/plain"},
      {"the benchmark", Get("/benchmark"), 404, "text/plain"},
      {"a command id", WithMethod(Get("/command/1020"), "POST"), 404, "text/plain"},
      // Methods.
      {"a page posted to", WithMethod(Get("/"), "POST"), 405, "text/plain"},
      {"texts deleted", WithMethod(Get("/dialog-texts"), "DELETE"), 405, "text/plain"},
      {"Translate by GET", Get("/translate"), 405, "text/plain"},
      // Content type and size.
      {"plain text", Post("I gave him a book", "text/plain"), 415, "text/plain"},
      {"a form", Post("sentence=I+gave", "application/x-www-form-urlencoded"), 415, "text/plain"},
      {"no content type", Post(R"({"sentence": "a"})", ""), 415, "text/plain"},
      {"JSON look-alike", Post(R"({"sentence": "a"})", "application/jsonx"), 415, "text/plain"},
      {"one byte over 64 KiB", Post(BodyOfSize(64 * 1024 + 1)), 413, "text/plain"},
      // Malformed bodies.
      {"cut short", Post(R"({"sentence": "I gave)"), 400, "text/plain"},
      {"empty", Post(""), 400, "text/plain"},
      {"not an object", Post(R"(["I gave him a book"])"), 400, "text/plain"},
      {"no sentence", Post(R"({"showCStructure": true})"), 400, "text/plain"},
      {"a number for the sentence", Post(R"({"sentence": 5})"), 400, "text/plain"},
      {"a text for the box", Post(R"({"sentence": "a", "showCStructure": "yes"})"), 400, "text/plain"},
      {"an unknown key", Post(R"({"sentence": "a", "command": 1020})"), 400, "text/plain"},
      {"broken UTF-8", Post("{\"sentence\": \"\xC3\x28\"}"), 400, "text/plain"},
  };
  CPageRequestHandler handler(kOwnHost, Echo);
  for (const RequestCase& c : cases) {
    const CPageResponse response = handler.Handle(c.request);
    EXPECT_EQ(response.status, c.status) << c.name << ": " << response.body;
    EXPECT_EQ(response.contentType.rfind(c.contentTypeStart, 0), 0u) << c.name << ": " << response.contentType;
  }
}

TEST(PageRequestHandler, MarkupInASentenceTravelsAsText) {
  const std::string sentence = "<img src=x onerror=alert(1)> & \"quoted\" \xD9\x85\xDB\x8C\xDA\xBA";
  WString received;
  CPageRequestHandler handler(kOwnHost, [&received](const WString& typed, const CTranslateOptions& options) {
    received = typed;
    return Echo(typed, options);
  });
  const CPageResponse response = handler.Handle(Post(nlohmann::json{{"sentence", sentence}}.dump()));
  ASSERT_EQ(response.status, 200);
  EXPECT_EQ(ToUtf8(received), sentence);
  const nlohmann::json result = nlohmann::json::parse(response.body);
  EXPECT_EQ(result["sentence"], sentence);
  EXPECT_EQ(result["output"], "[" + sentence + "]");
}

TEST(PageRequestHandler, TheResultCarriesTreesMessagesAndDocuments) {
  CTranslationResult given;
  given.output = u"\u0645\u06CC\u06BA";
  CTreeItem& heading = given.sourceTree.InsertRoot(u"Source F-Structure # 1");
  heading.expanded = true;
  heading.children.push_back(CTreeItem{u"PRED ----- give ", {}, false});
  given.messages.push_back(CTranslationMessage{u"Sentence could not be parsed.", u"Tarnwick", 0x40});
  given.cStructures.push_back(CStructureDocument{2, "data\\CStructures.xml", u"<C-Structures/>", true});
  CPageRequestHandler handler(kOwnHost, [&given](const WString&, const CTranslateOptions&) { return given; });

  const nlohmann::json result = nlohmann::json::parse(handler.Handle(Post(R"({"sentence": "a"})")).body);
  EXPECT_EQ(result["output"], "\xD9\x85\xDB\x8C\xDA\xBA");
  EXPECT_EQ(result["sourceTree"][0]["text"], "Source F-Structure # 1");
  EXPECT_EQ(result["sourceTree"][0]["expanded"], true);
  EXPECT_EQ(result["sourceTree"][0]["children"][0]["text"], "PRED ----- give ");
  EXPECT_EQ(result["targetTree"], nlohmann::json::array());
  EXPECT_EQ(result["messages"][0]["caption"], "Tarnwick");
  EXPECT_EQ(result["messages"][0]["text"], "Sentence could not be parsed.");
  EXPECT_EQ(result["cStructures"][0]["segment"], 2);
  EXPECT_EQ(result["cStructures"][0]["xml"], "<C-Structures/>");
  // The file's name stays with the server.
  EXPECT_FALSE(result["cStructures"][0].contains("path"));
}

TEST(PageRequestHandler, TranslationsRunOneAtATime) {
  std::atomic<int> running{0};
  std::atomic<int> mostAtOnce{0};
  CPageRequestHandler handler(kOwnHost, [&](const WString& sentence, const CTranslateOptions& options) {
    const int now = ++running;
    int most = mostAtOnce.load();
    while (now > most && !mostAtOnce.compare_exchange_weak(most, now)) {
    }
    for (int i = 0; i < 200; ++i) std::this_thread::yield();
    --running;
    return Echo(sentence, options);
  });
  std::vector<std::thread> senders;
  for (int t = 0; t < 4; ++t) {
    senders.emplace_back([&handler] {
      for (int i = 0; i < 25; ++i) EXPECT_EQ(handler.Handle(Post(R"({"sentence": "a"})")).status, 200);
    });
  }
  for (std::thread& sender : senders) sender.join();
  EXPECT_EQ(mostAtOnce.load(), 1);
}

}  // namespace

namespace {

// The server's adapter from the HTTP request to the handler's request: every
// header the checks decide on reaches the handler, so that a request the
// handler refuses is refused over the socket too.
// The server's request reader hands the handler every header it checks: a
// reader that dropped Origin would let a cross-site post through.
TEST(PageRequestAdapter, TheCheckedHeadersReachTheHandler) {
  struct AdapterCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> headers;
    int status;
  };
  const std::vector<AdapterCase> cases = {
      {"own page", {{"Host", kOwnHost}, {"Origin", "http://127.0.0.1:8765"}, {"Content-Type", kJson}}, 200},
      {"no origin", {{"Host", kOwnHost}, {"Content-Type", kJson}}, 200},
      {"another site", {{"Host", kOwnHost}, {"Origin", "http://attacker.example"}, {"Content-Type", kJson}}, 403},
      {"another host", {{"Host", "attacker.example"}, {"Content-Type", kJson}}, 403},
      {"a form post", {{"Host", kOwnHost}, {"Content-Type", "text/plain"}}, 415},
  };
  CPageRequestHandler handler(kOwnHost, Echo);
  const std::string body = R"({"sentence": "a"})";
  for (const AdapterCase& c : cases) {
    std::string bytes = "POST /translate HTTP/1.1\r\n";
    for (const auto& [name, value] : c.headers) bytes += name + ": " + value + "\r\n";
    bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    CHttpRequestReader reader;
    ASSERT_EQ(reader.Feed(bytes), CHttpRequestReader::State::kComplete) << c.name;
    EXPECT_EQ(reader.request().body, body) << c.name;
    EXPECT_EQ(handler.Handle(reader.request()).status, c.status) << c.name;
  }
}

}  // namespace
