// Encoding and bounded decoding of the cross-process wire format.
#include "platform/win/WireFrame.h"

namespace platform::win {

namespace {

class Writer {
 public:
  void U16(uint16_t v) { Put(v, 2); }
  void U32(uint32_t v) { Put(v, 4); }
  void U64(uint64_t v) { Put(v, 8); }
  void Bytes(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  }
  std::vector<uint8_t> out;

 private:
  void Put(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(uint8_t(v >> (8 * i)));
  }
};

// Reads fields from [data, data + size); every read checks what is left first.
class Cursor {
 public:
  Cursor(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  bool U16(uint16_t& v) { return Get(v, 2); }
  bool U32(uint32_t& v) { return Get(v, 4); }
  bool U64(uint64_t& v) { return Get(v, 8); }
  bool Bytes(size_t n, std::string& out) {
    if (uint64_t(end_ - p_) < n) return false;
    out.assign(reinterpret_cast<const char*>(p_), n);
    p_ += n;
    return true;
  }
  bool Bytes(size_t n, std::vector<uint8_t>& out) {
    if (uint64_t(end_ - p_) < n) return false;
    out.assign(p_, p_ + n);
    p_ += n;
    return true;
  }
  bool AtEnd() const { return p_ == end_; }

 private:
  template <class T>
  bool Get(T& v, int n) {
    if (end_ - p_ < n) return false;
    uint64_t x = 0;
    for (int i = 0; i < n; ++i) x |= uint64_t(p_[i]) << (8 * i);
    v = T(x);
    p_ += n;
    return true;
  }
  const uint8_t* p_;
  const uint8_t* end_;
};

std::vector<uint8_t> Frame(WireKind kind, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out = EncodeHeader(kind, uint32_t(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeHeader(WireKind kind, uint32_t bodyLength) {
  Writer w;
  w.U32(kWireMagic);
  w.U32(uint32_t(kind));
  w.U32(bodyLength);
  return w.out;
}

std::vector<uint8_t> EncodeMessage(WireKind kind, const WireMessage& m) {
  Writer w;
  w.U32(m.hwnd);
  w.U32(m.msg);
  w.U64(m.wParam);
  w.U64(uint64_t(m.lParam));
  w.U16(uint16_t(m.name.size()));
  w.Bytes(m.name.data(), m.name.size() & 0xFFFF);
  w.U32(uint32_t(m.payload.size()));
  w.Bytes(m.payload.data(), m.payload.size());
  return Frame(kind, w.out);
}

std::vector<uint8_t> EncodeFind(const WireFind& f) {
  Writer w;
  w.U16(uint16_t(f.className.size()));
  w.Bytes(f.className.data(), f.className.size() & 0xFFFF);
  w.U16(uint16_t(f.title.size()));
  w.Bytes(f.title.data(), f.title.size() & 0xFFFF);
  return Frame(WireKind::Find, w.out);
}

std::vector<uint8_t> EncodeReply(int64_t result, WireStatus status) {
  Writer w;
  w.U64(uint64_t(result));
  w.U32(uint32_t(status));
  return Frame(WireKind::Reply, w.out);
}

std::optional<std::pair<uint32_t, uint32_t>> DecodeHeader(const uint8_t* data, size_t size) {
  Cursor c(data, size);
  uint32_t magic, kind, length;
  if (!c.U32(magic) || !c.U32(kind) || !c.U32(length)) return std::nullopt;
  if (magic != kWireMagic || length > kWireBodyLimit) return std::nullopt;
  return std::make_pair(kind, length);
}

std::optional<WireMessage> DecodeMessage(const uint8_t* body, size_t size) {
  Cursor c(body, size);
  WireMessage m;
  uint16_t nameLength;
  uint32_t payloadLength;
  uint64_t l;
  if (!c.U32(m.hwnd) || !c.U32(m.msg) || !c.U64(m.wParam) || !c.U64(l) || !c.U16(nameLength) ||
      !c.Bytes(nameLength, m.name) || !c.U32(payloadLength) || !c.Bytes(payloadLength, m.payload) ||
      !c.AtEnd())
    return std::nullopt;
  m.lParam = int64_t(l);
  return m;
}

std::optional<WireFind> DecodeFind(const uint8_t* body, size_t size) {
  Cursor c(body, size);
  WireFind f;
  uint16_t a, b;
  if (!c.U16(a) || !c.Bytes(a, f.className) || !c.U16(b) || !c.Bytes(b, f.title) || !c.AtEnd())
    return std::nullopt;
  return f;
}

std::optional<WireReply> DecodeReply(const uint8_t* body, size_t size) {
  Cursor c(body, size);
  uint64_t v;
  if (!c.U64(v)) return std::nullopt;
  WireReply r;
  r.result = int64_t(v);
  if (c.AtEnd()) return r;
  uint32_t status;
  if (!c.U32(status) || !c.AtEnd() || status > uint32_t(WireStatus::Refused)) return std::nullopt;
  r.status = WireStatus(status);
  return r;
}

}  // namespace platform::win
