#include "app/server/http_request_reader.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::string_view kTextType = "text/plain; charset=utf-8";

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// RFC 9110 token characters: what a method or a field name may hold.
bool IsToken(std::string_view text) {
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), [](unsigned char c) {
    return std::isalnum(c) != 0 ||
           std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
  });
}

// A field value holds no control characters other than the tab.
bool IsFieldValue(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; });
}

// The end of the head: the index just past its empty line, or npos.
size_t HeadEnd(std::string_view bytes) {
  const size_t crlf = bytes.find("\r\n\r\n");
  const size_t lf = bytes.find("\n\n");
  if (crlf == std::string_view::npos && lf == std::string_view::npos) return std::string_view::npos;
  if (lf == std::string_view::npos || (crlf != std::string_view::npos && crlf < lf)) return crlf + 4;
  return lf + 2;
}

}  // namespace

CHttpRequestReader::State CHttpRequestReader::Feed(std::string_view bytes) {
  if (state_ == State::kComplete || state_ == State::kRefused || state_ == State::kWantsContinue) return state_;
  return headRead_ ? FeedBody(bytes) : FeedHead(bytes);
}

void CHttpRequestReader::ContinueSent() {
  if (state_ == State::kWantsContinue) state_ = State::kReading;
}

// Keeps at most the head's limit: a head that has not ended by then is
// refused before anything more is kept.
CHttpRequestReader::State CHttpRequestReader::FeedHead(std::string_view bytes) {
  const size_t before = head_.size();
  head_.append(bytes.substr(0, kMaxRequestHeadBytes + 4 - std::min(before, kMaxRequestHeadBytes + 4)));
  // The empty line may have begun in earlier bytes.
  const size_t end = HeadEnd(head_);
  if (end == std::string::npos || end > kMaxRequestHeadBytes) {
    if (head_.size() > kMaxRequestHeadBytes) return Refuse(431, "The request's header fields are larger than 16 KiB.");
    return state_;
  }
  const size_t used = end - before;
  std::string_view head(head_.data(), end);
  headRead_ = true;
  if (!ReadHead(head) || !CheckFields()) return state_;
  head_.clear();
  head_.shrink_to_fit();
  if (expectsContinue_ && bodyLength_ > 0 && used >= bytes.size()) {
    state_ = State::kWantsContinue;
    return state_;
  }
  return FeedBody(used < bytes.size() ? bytes.substr(used) : std::string_view());
}

CHttpRequestReader::State CHttpRequestReader::FeedBody(std::string_view bytes) {
  const size_t wanted = bodyLength_ - request_.body.size();
  request_.body.append(bytes.substr(0, wanted));
  if (request_.body.size() == bodyLength_) state_ = State::kComplete;
  return state_;
}

bool CHttpRequestReader::ReadHead(std::string_view head) {
  bool first = true;
  while (!head.empty()) {
    const size_t end = head.find('\n');
    std::string_view line = head.substr(0, end);
    head.remove_prefix(end == std::string_view::npos ? head.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() && first) {
      Refuse(400, "The request line is missing.");
      return false;
    }
    if (line.empty()) break;
    if (first ? !ReadRequestLine(line) : !ReadField(line)) return false;
    first = false;
  }
  return true;
}

// "METHOD /path[?query] HTTP/1.x"; the query is dropped.
bool CHttpRequestReader::ReadRequestLine(std::string_view line) {
  const size_t firstSpace = line.find(' ');
  const size_t lastSpace = line.rfind(' ');
  if (firstSpace == std::string_view::npos || firstSpace == lastSpace) {
    Refuse(400, "The request line is malformed.");
    return false;
  }
  const std::string_view method = line.substr(0, firstSpace);
  const std::string_view target = line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
  const std::string_view version = line.substr(lastSpace + 1);
  if (!IsToken(method) || target.empty() || target.front() != '/' || !IsFieldValue(target) ||
      target.find(' ') != std::string_view::npos || target.find('\t') != std::string_view::npos) {
    Refuse(400, "The request line is malformed.");
    return false;
  }
  if (version != "HTTP/1.1" && version != "HTTP/1.0") {
    Refuse(505, "This server speaks HTTP/1.1 and HTTP/1.0 only.");
    return false;
  }
  request_.method = std::string(method);
  request_.path = std::string(target.substr(0, target.find('?')));
  return true;
}

bool CHttpRequestReader::ReadField(std::string_view line) {
  if (++fieldCount_ > kMaxRequestHeaderFields) {
    Refuse(431, "The request has more than 64 header fields.");
    return false;
  }
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos || !IsToken(line.substr(0, colon)) || !IsFieldValue(line.substr(colon + 1))) {
    Refuse(400, "A header field is malformed.");
    return false;
  }
  const std::string name = Lower(line.substr(0, colon));
  const std::string value(Trim(line.substr(colon + 1)));
  if (name == "host") {
    ++hostCount_;
    request_.host = value;
  } else if (name == "origin") {
    ++originCount_;
    request_.origin = value;
  } else if (name == "content-type") {
    ++contentTypeCount_;
    request_.contentType = value;
  } else if (name == "content-length") {
    ++lengthCount_;
    contentLength_ = value;
  } else if (name == "content-encoding") {
    contentEncoding_ += Lower(value);
  } else if (name == "transfer-encoding") {
    transferEncoding_ += value;
  } else if (name == "expect") {
    expect_ += Lower(value);
  }
  return true;
}

// The fields that must be single, the body's framing and the interim answer.
bool CHttpRequestReader::CheckFields() {
  if (hostCount_ > 1 || originCount_ > 1 || contentTypeCount_ > 1 || lengthCount_ > 1) {
    Refuse(400, "The request repeats a header field that must be single.");
    return false;
  }
  if (!transferEncoding_.empty()) {
    Refuse(411, "The request's body must come with a Content-Length.");
    return false;
  }
  if (!contentEncoding_.empty() && contentEncoding_ != "identity") {
    Refuse(415, "The request's body must not be compressed.");
    return false;
  }
  if (lengthCount_ == 1) {
    if (contentLength_.empty() || contentLength_.size() > 12 ||
        !std::all_of(contentLength_.begin(), contentLength_.end(), [](unsigned char c) { return std::isdigit(c); })) {
      Refuse(400, "The Content-Length is not a number.");
      return false;
    }
    bodyLength_ = std::stoull(contentLength_);
  }
  if (bodyLength_ > kMaxRequestBodyBytes) {
    Refuse(413, "The request is larger than 64 KiB.");
    return false;
  }
  if (!expect_.empty() && expect_ != "100-continue") {
    Refuse(417, "The only expectation this server meets is 100-continue.");
    return false;
  }
  expectsContinue_ = !expect_.empty();
  return true;
}

CHttpRequestReader::State CHttpRequestReader::Refuse(int status, std::string_view reason) {
  refusal_ = CPageResponse{status, std::string(kTextType), std::string(reason) + "\n"};
  state_ = State::kRefused;
  head_.clear();
  head_.shrink_to_fit();
  return state_;
}
