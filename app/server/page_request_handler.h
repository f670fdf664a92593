// What the page server answers. It offers only the page's own files, the
// window's texts and Translate; it refuses requests whose Host is not the
// server's own address (by number, or as localhost or [::1] with its port), Translate requests that are not JSON or
// larger than 64 KiB, and malformed ones. One translation runs at a time: the engines share program-wide state, so
// requests wait for each other.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/engine/translation_result.h"
#include "app/server/page_request.h"
#include "core/wide_string.h"

using TranslateFunction = std::function<CTranslationResult(const WString& sentence, const CTranslateOptions& options)>;

class CPageRequestHandler {
 public:
  // ownHost: the server's address as a Host header names it ("127.0.0.1:8765").
  CPageRequestHandler(std::string ownHost, TranslateFunction translate);

  CPageResponse Handle(const CPageRequest& request);
  // Whether the request runs a translation (the engine's thread answers it)
  // rather than a quick answer any thread can give.
  static bool NeedsEngine(const CPageRequest& request);

 private:
  CPageResponse Translate(const CPageRequest& request);
  bool AddressedToThisServer(const std::string& host) const;
  bool FromOwnPage(const CPageRequest& request) const;

  std::vector<std::string> ownHosts_;
  TranslateFunction translate_;
  std::mutex translating_;
};

// The headers every answer carries: the content-security policy that allows
// the page only its own files, and no sniffing, framing, referrers or caching.
const std::vector<std::pair<std::string_view, std::string_view>>& PageResponseHeaders();
