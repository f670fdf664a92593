// The page server's request reader: what it takes, what it refuses and
// with which status, whether the bytes come at once or one by one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/server/http_request_reader.h"

namespace {

using State = CHttpRequestReader::State;

constexpr const char* kHost = "Host: 127.0.0.1:8765\r\n";

std::string Post(const std::string& extraFields, const std::string& body) {
  return "POST /translate HTTP/1.1\r\n" + std::string(kHost) + "Content-Type: application/json\r\n" +
         "Content-Length: " + std::to_string(body.size()) + "\r\n" + extraFields + "\r\n" + body;
}

std::string Fields(size_t count, size_t valueSize) {
  std::string fields;
  for (size_t i = 0; i < count; ++i)
    fields += "X-Field-" + std::to_string(i) + ": " + std::string(valueSize, 'a') + "\r\n";
  return fields;
}

// Feeds the bytes whole, then one at a time, and checks both give the same.
CHttpRequestReader ReadAll(const std::string& bytes, bool oneByOne) {
  CHttpRequestReader reader;
  if (!oneByOne) {
    reader.Feed(bytes);
    return reader;
  }
  for (char byte : bytes) {
    if (reader.Feed(std::string_view(&byte, 1)) == State::kWantsContinue) reader.ContinueSent();
  }
  return reader;
}

struct ReaderCase {
  const char* name;
  std::string bytes;
  State state;
  int status;  // of the refusal
};

TEST(HttpRequestReader, RefusesWhatBreaksALimitWithTheStatusThatNamesIt) {
  const std::string body = R"({"sentence": "I gave him a book"})";
  const std::vector<ReaderCase> cases = {
      {"a page", "GET /page.css?v=2 HTTP/1.1\r\n" + std::string(kHost) + "\r\n", State::kComplete, 0},
      {"bare line ends", "GET / HTTP/1.0\nHost: 127.0.0.1:8765\n\n", State::kComplete, 0},
      {"a translation", Post("", body), State::kComplete, 0},
      {"a body of exactly 64 KiB", Post("", std::string(64 * 1024, ' ')), State::kComplete, 0},
      {"64 fields", "GET / HTTP/1.1\r\n" + Fields(63, 10) + kHost + "\r\n", State::kComplete, 0},
      {"not yet whole", Post("", body).substr(0, 60), State::kReading, 0},
      // Header floods: too many fields, or too many bytes before the empty line.
      {"65 fields", "GET / HTTP/1.1\r\n" + Fields(64, 10) + kHost + "\r\n", State::kRefused, 431},
      {"a head over 16 KiB", "GET / HTTP/1.1\r\n" + Fields(20, 1000) + kHost + "\r\n", State::kRefused, 431},
      {"an endless field", "GET / HTTP/1.1\r\nX-Long: " + std::string(40'000, 'a'), State::kRefused, 431},
      // Bodies over the limit are refused from their declared length.
      {"a body over 64 KiB", Post("", std::string(64 * 1024 + 1, ' ')), State::kRefused, 413},
      {"a declared 5 MB", Post("", "").replace(Post("", "").find("Length: 0"), 9, "Length: 5000000"), State::kRefused,
       413},
      {"a compressed body", Post("Content-Encoding: gzip\r\n", body), State::kRefused, 415},
      {"a deflated body", Post("Content-Encoding: identity, deflate\r\n", body), State::kRefused, 415},
      {"an identity encoding", Post("Content-Encoding: identity\r\n", body), State::kComplete, 0},
      {"a chunked body", Post("Transfer-Encoding: chunked\r\n", body), State::kRefused, 411},
      // Fields that must be single.
      {"two hosts", "GET / HTTP/1.1\r\n" + std::string(kHost) + "Host: evil.example\r\n\r\n", State::kRefused, 400},
      {"two lengths", Post("Content-Length: 1\r\n", body), State::kRefused, 400},
      {"two origins", Post("Origin: http://a\r\nOrigin: http://b\r\n", body), State::kRefused, 400},
      // Malformed heads.
      {"no request line", "\r\n\r\n", State::kRefused, 400},
      {"no version", "GET /\r\n\r\n", State::kRefused, 400},
      {"HTTP/2", "GET / HTTP/2\r\n\r\n", State::kRefused, 505},
      {"an absolute target", "GET http://x/ HTTP/1.1\r\n\r\n", State::kRefused, 400},
      {"a field without a colon", "GET / HTTP/1.1\r\nHost\r\n\r\n", State::kRefused, 400},
      {"a folded field", "GET / HTTP/1.1\r\nHost: a\r\n b\r\n\r\n", State::kRefused, 400},
      {"a control character", "GET / HTTP/1.1\r\nHost: a\x01\r\n\r\n", State::kRefused, 400},
      {"a negative length", Post("", "").replace(Post("", "").find("Length: 0"), 9, "Length: -1"), State::kRefused,
       400},
      {"another expectation", Post("Expect: magic\r\n", body), State::kRefused, 417},
  };
  for (const ReaderCase& c : cases) {
    for (const bool oneByOne : {false, true}) {
      const CHttpRequestReader reader = ReadAll(c.bytes, oneByOne);
      EXPECT_EQ(reader.state(), c.state) << c.name << (oneByOne ? " (byte by byte)" : "");
      if (c.state == State::kRefused) {
        EXPECT_EQ(reader.refusal().status, c.status) << c.name;
      }
    }
  }
}

TEST(HttpRequestReader, ReadsTheFieldsThePageNeeds) {
  const std::string body = R"({"sentence": "a"})";
  CHttpRequestReader reader;
  ASSERT_EQ(reader.Feed(Post("ORIGIN:   http://127.0.0.1:8765  \r\nX-Other: 1\r\n", body) + "trailing"),
            State::kComplete);
  const CPageRequest& request = reader.request();
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.path, "/translate");
  EXPECT_EQ(request.host, "127.0.0.1:8765");
  EXPECT_EQ(request.origin, "http://127.0.0.1:8765");
  EXPECT_EQ(request.contentType, "application/json");
  EXPECT_EQ(request.body, body) << "bytes after the declared length are not part of the body";
}

// A client that asks before sending its body hears "100 Continue" only when
// the body is within the limit; past it the refusal comes before any body.
TEST(HttpRequestReader, AnExpectationIsMetOrRefusedBeforeTheBody) {
  const std::string body = R"({"sentence": "a"})";
  const std::string head =
      Post("Expect: 100-continue\r\n", body).substr(0, Post("Expect: 100-continue\r\n", body).size() - body.size());
  CHttpRequestReader within;
  ASSERT_EQ(within.Feed(head), State::kWantsContinue);
  EXPECT_EQ(within.Feed(body), State::kWantsContinue) << "nothing is read until the interim answer is sent";
  within.ContinueSent();
  EXPECT_EQ(within.Feed(body), State::kComplete);
  EXPECT_EQ(within.request().body, body);

  CHttpRequestReader over;
  std::string overHead = head;
  overHead.replace(overHead.find("Length: "), 8 + std::to_string(body.size()).size(), "Length: 5000000");
  EXPECT_EQ(over.Feed(overHead), State::kRefused);
  EXPECT_EQ(over.refusal().status, 413);
}

}  // namespace
