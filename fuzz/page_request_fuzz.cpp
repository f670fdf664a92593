// The page server's request handling: raw bytes, as a client sends them in
// pieces, through the request reader, the handler (with a translation that
// echoes) and the response writer. A request read whole never holds more
// than the limits allow, and every refusal is a client or server error.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/server/http_request_reader.h"
#include "app/server/http_response.h"
#include "app/server/page_request_handler.h"
#include "fuzz/fuzz_support.h"

namespace {

CTranslationResult Echo(const WString& sentence, const CTranslateOptions&) {
  CTranslationResult result;
  result.sentence = sentence;
  result.output = sentence;
  result.translated = true;
  return result;
}

CPageRequestHandler handler("127.0.0.1:8765", Echo);

void Expect(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const std::string body = R"({"sentence": "I gave him a book", "showCStructure": true})";
  const std::string post =
      "POST /translate HTTP/1.1\r\nHost: 127.0.0.1:8765\r\nOrigin: http://127.0.0.1:8765\r\n"
      "Content-Type: application/json\r\nContent-Length: " +
      std::to_string(body.size()) + "\r\n\r\n" + body;
  fuzz::AddSeedInputs(
      argc, argv,
      fuzz::WriteSeeds("page_request",
                       {"\x01GET / HTTP/1.1\r\nHost: 127.0.0.1:8765\r\n\r\n",
                        "\x07HEAD /page.css?x=1 HTTP/1.0\nHost: localhost:8765\n\n", std::string(1, '\0') + post,
                        "\x03POST /translate HTTP/1.1\r\nHost: [::1]:8765\r\nExpect: 100-continue\r\n"
                        "Content-Type: application/json\r\nContent-Encoding: gzip\r\nContent-Length: 4\r\n\r\nabcd"}));
  return 0;
}

// The first byte sets the size of the pieces the rest arrives in (0: whole).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = data[0] % 32;
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  CHttpRequestReader reader;
  while (!bytes.empty()) {
    const size_t take = piece == 0 ? bytes.size() : std::min(piece, bytes.size());
    const CHttpRequestReader::State state = reader.Feed(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (state == CHttpRequestReader::State::kWantsContinue) reader.ContinueSent();
    if (state == CHttpRequestReader::State::kComplete || state == CHttpRequestReader::State::kRefused) break;
  }
  if (reader.state() == CHttpRequestReader::State::kRefused) {
    Expect(reader.refusal().status >= 400 && reader.refusal().status < 600);
    SerializeResponse(reader.refusal(), false);
    return 0;
  }
  if (reader.state() != CHttpRequestReader::State::kComplete) return 0;
  const CPageRequest& request = reader.request();
  Expect(request.body.size() <= kMaxRequestBodyBytes);
  Expect(!request.path.empty() && request.path[0] == '/');
  const CPageResponse response = handler.Handle(request);
  Expect(response.status == 200 || (response.status >= 400 && response.status < 500));
  const std::string answer = SerializeResponse(response, reader.HeadOnly());
  Expect(answer.rfind("HTTP/1.1 ", 0) == 0);
  return 0;
}
