// The fixed wire format of requests between processes: a header (u32 magic 0x314D5750, u32 kind,
// u32 body length) and a body, all little-endian, written and read field by field. Bodies come
// from other processes, so they are parsed through one bounded cursor that checks every length.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::win {

constexpr uint32_t kWireMagic = 0x314D5750;
// Room for the largest WM_COPYDATA (kMaxCopyDataBytes in Endpoint.h) with its message fields
// and the longest registered name; a body over this is refused before anything is allocated.
constexpr uint32_t kWireBodyLimit = (16u << 20) + (1u << 17);

// How long (real time, in ms) a frame of `bytes` may take to cross and be answered: 5 s, and one
// more millisecond for every KiB it carries, so a large WM_COPYDATA on a slow or busy machine is
// not given up while its bytes still flow (16 MiB get about 21 s). Sender and reader use the same.
constexpr int64_t WireTimeoutMs(uint64_t bytes) { return 5000 + int64_t(bytes >> 10); }

enum class WireKind : uint32_t { Send = 1, Post = 2, Find = 3, Reply = 4 };

// What became of a sent message: delivered (the result is the window procedure's), no such
// window in the receiving process, or a message the receiver does not take from other processes.
enum class WireStatus : uint32_t { Delivered = 0, NoWindow = 1, Refused = 2 };

struct WireReply {
  int64_t result = 0;
  WireStatus status = WireStatus::Delivered;
};

struct WireMessage {
  uint32_t hwnd = 0;
  uint32_t msg = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  std::string name;              // registered message name, UTF-8 ("" when unregistered)
  std::vector<uint8_t> payload;  // WM_COPYDATA: u64 dwData then the data
};

struct WireFind {
  std::string className;  // UTF-8, "" = any class
  std::string title;
};

std::vector<uint8_t> EncodeHeader(WireKind kind, uint32_t bodyLength);
std::vector<uint8_t> EncodeMessage(WireKind kind, const WireMessage& m);
std::vector<uint8_t> EncodeFind(const WireFind& f);
std::vector<uint8_t> EncodeReply(int64_t result, WireStatus status = WireStatus::Delivered);

// Header of 12 bytes: kind and body length, or nothing when the magic is wrong or the body is
// over the limit.
std::optional<std::pair<uint32_t, uint32_t>> DecodeHeader(const uint8_t* data, size_t size);
std::optional<WireMessage> DecodeMessage(const uint8_t* body, size_t size);
std::optional<WireFind> DecodeFind(const uint8_t* body, size_t size);
// A reply body is the result (u64) and the status (u32); a body of the result alone, as an
// older peer sends it, reads as delivered.
std::optional<WireReply> DecodeReply(const uint8_t* body, size_t size);

}  // namespace platform::win
