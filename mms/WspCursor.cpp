#include "mms/WspCursor.h"

#include <cstring>

#include "mms/WspCodes.h"

bool WspCursor::PeekByte(uint8_t& out) const {
  if (AtEnd()) return false;
  out = *pos_;
  return true;
}

bool WspCursor::ReadByte(uint8_t& out) {
  if (!PeekByte(out)) return false;
  ++pos_;
  return true;
}

bool WspCursor::Skip(uint64_t count) {
  if (count > Remaining()) return false;
  pos_ += count;
  return true;
}

bool WspCursor::Take(uint64_t count, WspCursor& part) {
  if (count > Remaining()) return false;
  part = WspCursor(pos_, static_cast<size_t>(count));
  pos_ += count;
  return true;
}

WspCursor WspCursor::TakeRest() {
  WspCursor rest(pos_, Remaining());
  pos_ = end_;
  return rest;
}

bool WspCursor::ReadUintvar(uint32_t& out) {
  const uint8_t* p = pos_;
  uint64_t value = 0;
  for (int i = 0; i < 5; ++i) {
    if (p == end_) return false;
    uint8_t b = *p++;
    value = (value << 7) | (b & 0x7F);
    if (!(b & 0x80)) {
      if (value > 0xFFFFFFFFull) return false;
      out = static_cast<uint32_t>(value);
      pos_ = p;
      return true;
    }
  }
  return false;
}

bool WspCursor::ReadValueLength(uint32_t& out) {
  const uint8_t* start = pos_;
  uint8_t first;
  if (!ReadByte(first)) return false;
  uint32_t length = first;
  if (first == WSP_LENGTH_QUOTE) {
    if (!ReadUintvar(length)) {
      pos_ = start;
      return false;
    }
  } else if (first > WSP_LENGTH_QUOTE) {
    pos_ = start;
    return false;
  }
  if (length > Remaining()) {
    pos_ = start;
    return false;
  }
  out = length;
  return true;
}

bool WspCursor::ReadLongInteger(uint64_t& out) {
  const uint8_t* start = pos_;
  uint8_t length;
  if (!ReadByte(length)) return false;
  if (length == 0 || length > 8 || length > Remaining()) {
    pos_ = start;
    return false;
  }
  uint64_t value = 0;
  for (uint8_t i = 0; i < length; ++i) value = (value << 8) | *pos_++;
  out = value;
  return true;
}

bool WspCursor::ReadIntegerValue(uint64_t& out) {
  uint8_t first;
  if (!PeekByte(first)) return false;
  if (first & 0x80) {
    ++pos_;
    out = first & 0x7F;
    return true;
  }
  return ReadLongInteger(out);
}

bool WspCursor::ReadText(std::string& out) {
  const void* nul = AtEnd() ? nullptr : std::memchr(pos_, 0, Remaining());
  if (!nul) return false;
  const uint8_t* stop = static_cast<const uint8_t*>(nul);
  out.assign(reinterpret_cast<const char*>(pos_), static_cast<size_t>(stop - pos_));
  pos_ = stop + 1;
  return true;
}

bool WspCursor::SkipValue() {
  const uint8_t* start = pos_;
  uint8_t first;
  if (!PeekByte(first)) return false;
  if (first >= 0x80) {
    ++pos_;
    return true;
  }
  if (first >= 32) {
    std::string ignored;
    return ReadText(ignored);
  }
  uint32_t length;
  if (!ReadValueLength(length)) return false;
  if (!Skip(length)) {
    pos_ = start;
    return false;
  }
  return true;
}
