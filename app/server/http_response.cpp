#include "app/server/http_response.h"

#include "app/server/page_request_handler.h"

namespace {

const char* ReasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 413: return "Content Too Large";
    case 415: return "Unsupported Media Type";
    case 417: return "Expectation Failed";
    case 431: return "Request Header Fields Too Large";
    case 503: return "Service Unavailable";
    case 505: return "HTTP Version Not Supported";
    default: return status < 400 ? "OK" : status < 500 ? "Bad Request" : "Internal Server Error";
  }
}

}  // namespace

std::string SerializeResponse(const CPageResponse& response, bool headOnly) {
  std::string bytes = "HTTP/1.1 " + std::to_string(response.status) + " " + ReasonPhrase(response.status) + "\r\n";
  for (const auto& [name, value] : PageResponseHeaders()) {
    bytes.append(name).append(": ").append(value).append("\r\n");
  }
  if (!response.contentType.empty()) bytes += "Content-Type: " + response.contentType + "\r\n";
  bytes += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  bytes += "Connection: close\r\n\r\n";
  if (!headOnly) bytes += response.body;
  return bytes;
}
