#include "app/server/connection_loop.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "app/server/http_request_reader.h"
#include "app/server/http_response.h"
#include "app/server/listening_socket.h"
#include "app/server/page_request_handler.h"

using Clock = std::chrono::steady_clock;

// One client connection: it carries one request and its answer.
struct CPageConnection {
  enum class Phase { kReading, kTranslating, kWriting, kLingering, kEnded };

  CPageConnection(int accepted, std::string address, uint64_t number, Clock::time_point requestDeadline)
      : socket(accepted), peer(std::move(address)), id(number), deadline(requestDeadline) {}
  ~CPageConnection() { close(socket); }
  CPageConnection(const CPageConnection&) = delete;
  CPageConnection& operator=(const CPageConnection&) = delete;

  int socket;
  std::string peer;
  uint64_t id;
  Clock::time_point deadline;
  Phase phase = Phase::kReading;
  CHttpRequestReader reader;
  std::string output;  // bytes still to send
  size_t lingered = 0;
};

namespace {

using Phase = CPageConnection::Phase;

constexpr int kPollStepMilliseconds = 100;
constexpr size_t kReadChunk = 4096;
constexpr size_t kMaxLingerBytes = 256 * 1024;

std::string PeerAddress(const sockaddr_in& address) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
  return text;
}

bool Readable(int descriptor) {
  pollfd entry{descriptor, POLLIN, 0};
  return poll(&entry, 1, 0) > 0 && (entry.revents & POLLIN) != 0;
}

void Drain(int descriptor) {
  uint64_t count = 0;
  while (read(descriptor, &count, sizeof count) > 0) {
  }
}

}  // namespace

CConnectionLoop::CConnectionLoop(const CListeningSocket& listener, CPageRequestHandler& handler, int stopDescriptor,
                                 CServerLimits limits)
    : listener_(listener),
      handler_(handler),
      stopDescriptor_(stopDescriptor),
      wakeDescriptor_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      limits_(limits),
      engine_(std::make_unique<CEngineThread>(wakeDescriptor_)) {}

CConnectionLoop::~CConnectionLoop() {
  connections_.clear();
  engine_.reset();
  close(wakeDescriptor_);
}

bool CConnectionLoop::Run() {
  std::vector<pollfd> entries;
  for (;;) {
    entries.assign({{listener_.descriptor(), POLLIN, 0}, {stopDescriptor_, POLLIN, 0}, {wakeDescriptor_, POLLIN, 0}});
    for (const auto& connection : connections_) {
      short events = 0;
      if (connection->phase == Phase::kReading || connection->phase == Phase::kLingering) events |= POLLIN;
      if (!connection->output.empty()) events |= POLLOUT;
      // A connection waiting for its translation is left out: poll would
      // report a client's hang-up on it at once, again and again.
      const bool waiting = connection->phase == Phase::kTranslating;
      entries.push_back({waiting ? -1 : connection->socket, events, 0});
    }
    if (poll(entries.data(), entries.size(), kPollStepMilliseconds) < 0 && errno != EINTR) break;
    if (Readable(stopDescriptor_)) {
      connections_.clear();
      return true;
    }
    size_t at = 3;
    for (const auto& connection : connections_) {
      const short events = entries[at++].revents;
      if ((events & (POLLIN | POLLHUP | POLLERR)) != 0) {
        if (connection->phase == Phase::kReading)
          Read(*connection);
        else if (connection->phase == Phase::kLingering)
          Linger(*connection);
      }
      if ((events & POLLOUT) != 0) Write(*connection);
    }
    if ((entries[2].revents & POLLIN) != 0) CollectTranslations();
    if ((entries[0].revents & POLLIN) != 0) AcceptAll();
    EnforceDeadlines();
    CloseEnded();
  }
  connections_.clear();
  return false;
}

void CConnectionLoop::AcceptAll() {
  for (;;) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    const int socket =
        accept4(listener_.descriptor(), reinterpret_cast<sockaddr*>(&address), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (socket < 0) return;
    std::string peer = PeerAddress(address);
    if (!MakeRoomFor(peer)) {
      close(socket);
      continue;
    }
    connections_.push_back(
        std::make_unique<CPageConnection>(socket, std::move(peer), nextId_++, Clock::now() + limits_.requestTime));
  }
}

// Within the bounds a new connection is simply taken; at a bound, the
// oldest connection (of the same client at the client's bound) that has not
// yet sent its whole request makes way. False when none can.
bool CConnectionLoop::MakeRoomFor(const std::string& peer) {
  const auto ofPeer = [&peer](const auto& connection) { return connection->peer == peer; };
  const bool clientFull = static_cast<size_t>(std::count_if(connections_.begin(), connections_.end(), ofPeer)) >=
                          limits_.connectionsPerClient;
  const bool allFull = connections_.size() >= limits_.connections;
  if (!clientFull && !allFull) return true;
  const auto victim = std::find_if(connections_.begin(), connections_.end(), [&](const auto& connection) {
    return connection->phase == Phase::kReading && (!clientFull || connection->peer == peer);
  });
  if (victim == connections_.end()) return false;
  connections_.erase(victim);
  return true;
}

void CConnectionLoop::Read(CPageConnection& connection) {
  char buffer[kReadChunk];
  const ssize_t count = recv(connection.socket, buffer, sizeof buffer, 0);
  if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) {
    connection.phase = Phase::kEnded;
    return;
  }
  if (count < 0) return;
  switch (connection.reader.Feed(std::string_view(buffer, static_cast<size_t>(count)))) {
    case CHttpRequestReader::State::kReading: return;
    case CHttpRequestReader::State::kWantsContinue:
      connection.output += kContinueResponse;
      connection.reader.ContinueSent();
      return;
    case CHttpRequestReader::State::kComplete: Dispatch(connection); return;
    case CHttpRequestReader::State::kRefused: Answer(connection, connection.reader.refusal()); return;
  }
}

// Quick answers at once; a translation goes to the engine thread.
void CConnectionLoop::Dispatch(CPageConnection& connection) {
  if (!CPageRequestHandler::NeedsEngine(connection.reader.request())) {
    Answer(connection, handler_.Handle(connection.reader.request()));
    return;
  }
  connection.phase = Phase::kTranslating;
  engine_->Submit(connection.id, [this, request = connection.reader.request()] { return handler_.Handle(request); });
}

void CConnectionLoop::Answer(CPageConnection& connection, const CPageResponse& response) {
  connection.output += SerializeResponse(response, connection.reader.HeadOnly());
  connection.phase = Phase::kWriting;
  connection.deadline = Clock::now() + limits_.writeTime;
}

void CConnectionLoop::Write(CPageConnection& connection) {
  const ssize_t sent = send(connection.socket, connection.output.data(), connection.output.size(), MSG_NOSIGNAL);
  if (sent < 0) {
    if (errno != EAGAIN && errno != EINTR) connection.phase = Phase::kEnded;
    return;
  }
  connection.output.erase(0, static_cast<size_t>(sent));
  if (!connection.output.empty() || connection.phase != Phase::kWriting) return;
  // The answer is out: the client may still be sending (a refused request),
  // and closing with unread bytes would reset the connection and lose the
  // answer, so what comes is read and dropped for a short while.
  shutdown(connection.socket, SHUT_WR);
  connection.phase = Phase::kLingering;
  connection.deadline = Clock::now() + limits_.lingerTime;
}

void CConnectionLoop::Linger(CPageConnection& connection) {
  char buffer[kReadChunk];
  const ssize_t count = recv(connection.socket, buffer, sizeof buffer, 0);
  if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) connection.phase = Phase::kEnded;
  if (count > 0 && (connection.lingered += static_cast<size_t>(count)) > kMaxLingerBytes) {
    connection.phase = Phase::kEnded;
  }
}

void CConnectionLoop::CollectTranslations() {
  Drain(wakeDescriptor_);
  for (auto& [id, response] : engine_->TakeFinished()) {
    for (const auto& connection : connections_) {
      if (connection->id == id && connection->phase == Phase::kTranslating) Answer(*connection, response);
    }
  }
}

void CConnectionLoop::EnforceDeadlines() {
  const Clock::time_point now = Clock::now();
  for (const auto& connection : connections_) {
    if (connection->phase == Phase::kTranslating || now < connection->deadline) continue;
    if (connection->phase == Phase::kReading) {
      Answer(*connection, CPageResponse{408, "text/plain; charset=utf-8", "The request took too long to arrive.\n"});
    } else {
      connection->phase = Phase::kEnded;
    }
  }
}

void CConnectionLoop::CloseEnded() {
  connections_.remove_if([](const auto& connection) { return connection->phase == Phase::kEnded; });
}
