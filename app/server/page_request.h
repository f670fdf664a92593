// One request to the page server and its answer, without the socket: the
// server fills a CPageRequest from what it received and sends back the
// CPageResponse, so the checks can be tried without a network.
#pragma once

#include <cstddef>
#include <string>

// The largest Translate body the page server takes.
inline constexpr size_t kMaxTranslateRequestBytes = 64 * 1024;

struct CPageRequest {
  std::string method;       // "GET", "POST", ...
  std::string path;         // without the query
  std::string host;         // the Host header
  std::string origin;       // the Origin header; empty when absent
  std::string contentType;  // the Content-Type header
  std::string body;
};

struct CPageResponse {
  int status = 200;
  std::string contentType;
  std::string body;
};
