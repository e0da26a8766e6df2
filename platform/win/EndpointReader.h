// The endpoint's reader: a thread of its own accepts the connections of other processes and
// reads each request, one state per connection, until its frame is whole. Only whole frames
// reach the interface thread, through a queue a descriptor signals, so a client that is slow,
// silent or sends half a frame costs the interface thread nothing: it is dropped once its time is
// up (5 s of real time, more for a large body: WireTimeoutMs) without ever being waited on there.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::win {

class EndpointReader {
 public:
  // A whole request: its connection (the interface thread answers on it and closes it), kind
  // and body.
  struct Request {
    int fd = -1;
    uint32_t kind = 0;
    std::vector<uint8_t> body;
  };

  EndpointReader() = default;
  EndpointReader(const EndpointReader&) = delete;
  EndpointReader& operator=(const EndpointReader&) = delete;
  ~EndpointReader() { Stop(); }

  // Starts reading connections of `listenFd` (which stays the caller's); false when the thread
  // or its descriptors cannot be made.
  bool Start(int listenFd);
  // Ends the thread and closes every connection it still holds, read or queued.
  void Stop();

  // Readable while whole requests wait (for a backend's wait and for poll); -1 when stopped.
  int ReadyFd() const { return readyFd_; }
  // Whether whole requests wait, without a system call.
  bool Pending() const { return pending_.load(); }
  // The waiting requests, oldest first; the caller answers each and hands it to Done.
  std::vector<Request> Take();
  // Closes a request's connection once it has been answered.
  void Done(Request& request);

 private:
  struct Connection;
  void Run();
  void Queue(Request request);

  int listenFd_ = -1;
  int readyFd_ = -1;  // eventfd: counts requests queued since the last Take
  int stopFd_ = -1;   // eventfd: tells the thread to end
  std::thread thread_;
  std::mutex mutex_;
  std::deque<Request> queue_;
  std::atomic<bool> pending_{false};
  // Connections held, being read or queued: at the cap new ones wait in the listen backlog.
  std::atomic<int> held_{0};
};

}  // namespace platform::win
