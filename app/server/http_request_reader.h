// Reads one HTTP/1.1 request from the bytes a connection receives, within
// fixed limits: a head (request line and header fields) of at most 16 KiB
// and 64 fields, a body of at most 64 KiB sent with a Content-Length, never
// compressed. What breaks a limit is refused as soon as it is seen, with the
// status that names it, so nothing past the limits is ever kept.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/server/page_request.h"

inline constexpr size_t kMaxRequestHeadBytes = 16 * 1024;
inline constexpr size_t kMaxRequestHeaderFields = 64;
inline constexpr size_t kMaxRequestBodyBytes = kMaxTranslateRequestBytes;

class CHttpRequestReader {
 public:
  enum class State {
    kReading,        // more bytes are needed
    kWantsContinue,  // the head asked for "100 Continue" before its body
    kComplete,       // request() is whole
    kRefused,        // refusal() is the answer; the connection ends after it
  };

  // Takes the next bytes received; returns the state after them. Bytes past
  // a complete request or a refusal are ignored.
  State Feed(std::string_view bytes);
  // The interim answer was sent: reading goes on with the body.
  void ContinueSent();

  State state() const { return state_; }
  bool HeadOnly() const { return request_.method == "HEAD"; }
  const CPageRequest& request() const { return request_; }
  const CPageResponse& refusal() const { return refusal_; }

 private:
  State FeedHead(std::string_view bytes);
  State FeedBody(std::string_view bytes);
  bool ReadHead(std::string_view head);
  bool ReadRequestLine(std::string_view line);
  bool ReadField(std::string_view line);
  bool CheckFields();
  State Refuse(int status, std::string_view reason);

  State state_ = State::kReading;
  bool headRead_ = false;
  bool expectsContinue_ = false;
  std::string head_;
  size_t bodyLength_ = 0;
  size_t fieldCount_ = 0;
  int hostCount_ = 0;
  int lengthCount_ = 0;
  int contentTypeCount_ = 0;
  int originCount_ = 0;
  std::string contentLength_;
  std::string contentEncoding_;
  std::string transferEncoding_;
  std::string expect_;
  CPageRequest request_;
  CPageResponse refusal_;
};
