// An answer of the page server as the bytes that go back on the socket.
#pragma once

#include <string>

#include "app/server/page_request.h"

// Status line, the page's response headers, Content-Type and -Length and
// "Connection: close" (every connection carries one request), then the body
// unless the request was a HEAD.
std::string SerializeResponse(const CPageResponse& response, bool headOnly);

// The interim answer to "Expect: 100-continue".
inline constexpr const char* kContinueResponse = "HTTP/1.1 100 Continue\r\n\r\n";
