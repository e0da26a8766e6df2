// Reading requests off the interface thread: accept, check the peer, gather one frame per
// connection through poll, queue it whole.
#include "platform/win/EndpointReader.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>

#include "platform/rtl/Synchronize.h"
#include "platform/win/WireFrame.h"

namespace platform::win {

namespace {

// At most this many connections are held at once (each costs a descriptor); more wait in the
// listen backlog until some are answered.
constexpr int kMaxHeld = 256;
// What a body is given up front; beyond it, it grows with the bytes that really came.
constexpr size_t kFirstBodyReserve = 64 * 1024;

int64_t RealNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

struct EndpointReader::Connection {
  int fd = -1;
  int64_t deadline = 0;
  uint8_t header[12] = {};
  size_t headerRead = 0;
  std::optional<std::pair<uint32_t, uint32_t>> frame;  // kind and body length, once the header is in
  std::vector<uint8_t> body;
};

bool EndpointReader::Start(int listenFd) {
  Stop();
  readyFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  stopFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (readyFd_ < 0 || stopFd_ < 0) {
    Stop();
    return false;
  }
  listenFd_ = listenFd;
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (...) {
    Stop();
    return false;
  }
  return true;
}

void EndpointReader::Stop() {
  if (thread_.joinable()) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(stopFd_, &one, sizeof one);
    thread_.join();
  }
  for (Request& r : Take()) Done(r);
  for (int* fd : {&readyFd_, &stopFd_}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
  listenFd_ = -1;
}

std::vector<EndpointReader::Request> EndpointReader::Take() {
  std::vector<Request> out;
  if (readyFd_ < 0) return out;
  uint64_t count;
  [[maybe_unused]] const ssize_t n = read(readyFd_, &count, sizeof count);  // clears the signal
  std::lock_guard lock(mutex_);
  pending_ = false;
  out.assign(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
  queue_.clear();
  return out;
}

void EndpointReader::Done(Request& request) {
  if (request.fd < 0) return;
  close(request.fd);
  request.fd = -1;
  --held_;
}

void EndpointReader::Queue(Request request) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(request));
    pending_ = true;
  }
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(readyFd_, &one, sizeof one);
  ::WakeMainThread();
}

void EndpointReader::Run() {
  std::vector<std::unique_ptr<Connection>> reading;
  std::vector<pollfd> polled;
  auto drop = [&](size_t i) {
    close(reading[i]->fd);
    reading.erase(reading.begin() + std::ptrdiff_t(i));
    --held_;
  };
  for (;;) {
    const int64_t now = RealNow();
    for (size_t i = reading.size(); i-- > 0;)
      if (reading[i]->deadline <= now) drop(i);  // too slow or silent: no answer, nothing kept
    int64_t wake = now + 1000;
    for (const auto& c : reading) wake = std::min(wake, c->deadline);
    const bool accepting = held_.load() < kMaxHeld;
    if (!accepting) wake = std::min(wake, now + 20);  // the interface thread answers some meanwhile

    polled.clear();
    polled.push_back({stopFd_, POLLIN, 0});
    polled.push_back({accepting ? listenFd_ : -1, POLLIN, 0});
    for (const auto& c : reading) polled.push_back({c->fd, POLLIN, 0});
    const int r = poll(polled.data(), polled.size(), int(std::max<int64_t>(wake - now, 0)));
    if (r < 0 && errno != EINTR) break;
    if (r <= 0) continue;
    if (polled[0].revents) break;

    // Reads what each connection has, newest last so indexes stay valid while some are dropped.
    for (size_t i = reading.size(); i-- > 0;) {
      const short events = polled[i + 2].revents;
      if (!events) continue;
      Connection& c = *reading[i];
      bool failed = false, whole = false;
      for (;;) {
        uint8_t buffer[64 * 1024];
        size_t want = sizeof buffer;
        if (!c.frame)
          want = sizeof c.header - c.headerRead;
        else
          want = std::min<size_t>(want, c.frame->second - c.body.size());
        if (c.frame && want == 0) {
          whole = true;
          break;
        }
        const ssize_t n = recv(c.fd, c.frame ? buffer : c.header + c.headerRead, want, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        if (n <= 0) {
          failed = true;  // closed or broken before its frame was whole
          break;
        }
        if (!c.frame) {
          c.headerRead += size_t(n);
          if (c.headerRead < sizeof c.header) continue;
          c.frame = DecodeHeader(c.header, sizeof c.header);
          if (!c.frame) {
            // A bad magic or an over-long body: refused at once, nothing allocated.
            const std::vector<uint8_t> reply = EncodeReply(0, WireStatus::Refused);
            [[maybe_unused]] const ssize_t w =
                send(c.fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            failed = true;
            break;
          }
          c.body.reserve(std::min<size_t>(c.frame->second, kFirstBodyReserve));
          c.deadline += WireTimeoutMs(c.frame->second) - WireTimeoutMs(0);  // a larger body takes longer
          continue;
        }
        c.body.insert(c.body.end(), buffer, buffer + n);
      }
      if (whole) {
        Queue(Request{c.fd, c.frame->first, std::move(c.body)});
        reading.erase(reading.begin() + std::ptrdiff_t(i));  // the connection is the queue's now
      } else if (failed) {
        drop(i);
      }
    }

    if (accepting && (polled[1].revents & POLLIN)) {
      // Takes what the backlog holds, up to the cap.
      while (held_.load() < kMaxHeld) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) break;
        ucred cred{};
        socklen_t length = sizeof cred;
        if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 || cred.uid != getuid()) {
          close(fd);  // another user's process gets nothing
          continue;
        }
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        c->deadline = RealNow() + WireTimeoutMs(0);  // to deliver the whole frame
        reading.push_back(std::move(c));
        ++held_;
      }
    }
  }
  while (!reading.empty()) drop(reading.size() - 1);
}

}  // namespace platform::win
