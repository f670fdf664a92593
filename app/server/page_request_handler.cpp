#include "app/server/page_request_handler.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>

#include "app/server/result_json.h"
#include "app/web/web_files.h"
#include "platform/utf8.h"

namespace {

constexpr std::string_view kTextType = "text/plain; charset=utf-8";
constexpr std::string_view kJsonType = "application/json; charset=utf-8";

CPageResponse Refuse(int status, std::string_view reason) {
  return CPageResponse{status, std::string(kTextType), std::string(reason) + "\n"};
}

CPageResponse Json(const nlohmann::json& value) {
  return CPageResponse{200, std::string(kJsonType),
                       value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)};
}

// The media type of a Content-Type header, lower-cased, without parameters.
std::string MediaType(std::string_view contentType) {
  const size_t end = std::min(contentType.find(';'), contentType.size());
  std::string type(contentType.substr(0, end));
  type.erase(std::remove_if(type.begin(), type.end(), [](unsigned char c) { return std::isspace(c) != 0; }),
             type.end());
  std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return std::tolower(c); });
  return type;
}

// The sentence and options of a Translate body; false when the body is not
// a JSON object with a text "sentence" and, optionally, a true or false
// "showCStructure", and nothing else.
bool ReadTranslateBody(const std::string& body, WString& sentence, CTranslateOptions& options) {
  const nlohmann::json request = nlohmann::json::parse(body, nullptr, false);
  if (request.is_discarded() || !request.is_object()) return false;
  for (const auto& [key, value] : request.items()) {
    if (key == "sentence" && value.is_string()) {
      sentence = FromUtf8(value.get<std::string>());
    } else if (key == "showCStructure" && value.is_boolean()) {
      options.showCStructure = value.get<bool>();
    } else {
      return false;
    }
  }
  return request.contains("sentence");
}

}  // namespace

CPageRequestHandler::CPageRequestHandler(std::string ownHost, TranslateFunction translate)
    : translate_(std::move(translate)) {
  const size_t colon = ownHost.rfind(':');
  if (colon != std::string::npos) {
    const std::string port = ownHost.substr(colon);
    ownHosts_ = {"localhost" + port, "[::1]" + port};
  }
  ownHosts_.push_back(std::move(ownHost));
}

bool CPageRequestHandler::NeedsEngine(const CPageRequest& request) { return request.path == "/translate"; }

// The names under which a browser on this machine reaches the server; any
// other name may be a foreign site's name rebound to this address.
bool CPageRequestHandler::AddressedToThisServer(const std::string& host) const {
  return std::find(ownHosts_.begin(), ownHosts_.end(), host) != ownHosts_.end();
}

CPageResponse CPageRequestHandler::Handle(const CPageRequest& request) {
  if (!AddressedToThisServer(request.host)) return Refuse(403, "This server answers only to its own address.");
  if (request.path == "/translate") {
    if (request.method != "POST") return Refuse(405, "Translate takes POST only.");
    return Translate(request);
  }
  const std::string path = request.path == "/" ? "/index.html" : request.path;
  const CWebFile* file = FindWebFile(path);
  if (file == nullptr && path != "/dialog-texts") return Refuse(404, "There is no such page.");
  if (request.method != "GET" && request.method != "HEAD") return Refuse(405, "This page takes GET only.");
  if (file == nullptr) return Json(DialogTextsJson());
  return CPageResponse{200, std::string(file->contentType), std::string(file->content)};
}

// A browser names the page that sent a request; one from another page is
// refused, so no other site can translate through this server.
bool CPageRequestHandler::FromOwnPage(const CPageRequest& request) const {
  return request.origin.empty() || request.origin == "http://" + request.host;
}

CPageResponse CPageRequestHandler::Translate(const CPageRequest& request) {
  if (!FromOwnPage(request)) return Refuse(403, "Translate takes requests from this server's page only.");
  if (MediaType(request.contentType) != "application/json") return Refuse(415, "Translate takes JSON only.");
  if (request.body.size() > kMaxTranslateRequestBytes) return Refuse(413, "The request is larger than 64 KiB.");
  WString sentence;
  CTranslateOptions options;
  if (!ReadTranslateBody(request.body, sentence, options)) {
    return Refuse(400, "Translate takes {\"sentence\": text, \"showCStructure\": true or false}.");
  }
  const std::lock_guard<std::mutex> oneAtATime(translating_);
  return Json(TranslationResultJson(translate_(sentence, options)));
}

const std::vector<std::pair<std::string_view, std::string_view>>& PageResponseHeaders() {
  static const std::vector<std::pair<std::string_view, std::string_view>> headers = {
      {"Content-Security-Policy",
       "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; connect-src 'self'; "
       "base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
      {"X-Content-Type-Options", "nosniff"},
      {"X-Frame-Options", "DENY"},
      {"Referrer-Policy", "no-referrer"},
      {"Cache-Control", "no-store"},
  };
  return headers;
}
