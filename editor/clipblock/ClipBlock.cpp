#include "editor/clipblock/ClipBlock.h"

#include <cstring>
#include <random>

namespace clipblock {

namespace {

constexpr char kMagic[4] = {'K', '3', 'M', 'C'};

bool IsVisual(Kind kind) { return kind == Kind::Picture || kind == Kind::Text; }

class Writer {
 public:
  void Bytes(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  }
  void U8(uint8_t v) { out.push_back(v); }
  void U16(uint16_t v) {
    U8(uint8_t(v));
    U8(uint8_t(v >> 8));
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(uint8_t(v >> (8 * i)));
  }
  void I32(int32_t v) { U32(uint32_t(v)); }
  void Str(const std::string& s) {
    U32(uint32_t(s.size()));
    Bytes(s.data(), s.size());
  }
  std::vector<uint8_t> out;
};

// A cursor that never reads past its end; every read after a failure fails.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : p_(data), left_(data ? size : 0) {}
  bool Bytes(void* dest, size_t n) {
    if (!ok_ || n > left_) return ok_ = false;
    if (n) std::memcpy(dest, p_, n);
    p_ += n;
    left_ -= n;
    return true;
  }
  bool U8(uint8_t* v) { return Bytes(v, 1); }
  bool Bool(bool* v) {
    uint8_t b = 0;
    if (!U8(&b) || b > 1) return ok_ = false;
    *v = b == 1;
    return true;
  }
  bool U16(uint16_t* v) {
    uint8_t b[2];
    if (!Bytes(b, 2)) return false;
    *v = uint16_t(b[0] | (b[1] << 8));
    return true;
  }
  bool U32(uint32_t* v) {
    uint8_t b[4];
    if (!Bytes(b, 4)) return false;
    *v = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    return true;
  }
  bool I32(int32_t* v) {
    uint32_t u = 0;
    if (!U32(&u)) return false;
    *v = int32_t(u);
    return true;
  }
  bool Str(std::string* s) {
    uint32_t n = 0;
    if (!U32(&n) || n > left_) return ok_ = false;
    s->assign(reinterpret_cast<const char*>(p_), n);
    p_ += n;
    left_ -= n;
    return true;
  }
  bool Units(std::u16string* s) {
    uint32_t n = 0;
    if (!U32(&n) || n > left_ / 2) return ok_ = false;
    s->resize(n);
    for (uint32_t i = 0; i < n; ++i) (*s)[i] = char16_t(p_[2 * i] | (p_[2 * i + 1] << 8));
    p_ += size_t(n) * 2;
    left_ -= size_t(n) * 2;
    return true;
  }
  bool AtEnd() const { return ok_ && left_ == 0; }

 private:
  const uint8_t* p_;
  size_t left_;
  bool ok_ = true;
};

void Head(Writer& w, Kind kind, const Token& token) {
  w.Bytes(kMagic, 4);
  w.U16(kVersion);
  w.U8(uint8_t(kind));
  w.U8(0);
  w.Bytes(token.data(), token.size());
}

// `visual`: region and type follow; `text`: the text follows.
void PutItem(Writer& w, const Item& item, bool visual, bool text) {
  w.Str(item.path);
  w.Str(item.extra);
  w.I32(item.begin);
  w.I32(item.end);
  w.I32(item.dur);
  if (visual) {
    w.Str(item.region);
    w.U8(item.type);
  }
  if (text) {
    w.U8(item.hasText ? 1 : 0);
    if (item.hasText) {
      w.U32(uint32_t(item.text.size()));
      for (char16_t c : item.text) w.U16(uint16_t(c));
    }
  }
}

bool GetItem(Reader& r, Item* item, bool visual, bool text) {
  *item = Item{};
  bool ok = r.Str(&item->path) && r.Str(&item->extra) && r.I32(&item->begin) && r.I32(&item->end) &&
            r.I32(&item->dur);
  if (ok && visual) ok = r.Str(&item->region) && r.U8(&item->type);
  if (ok && text) {
    ok = r.Bool(&item->hasText);
    if (ok && item->hasText) ok = r.Units(&item->text);
  }
  return ok;
}

}  // namespace

const Token& RunToken() {
  static const Token token = [] {
    Token t{};
    std::random_device random;
    for (size_t i = 0; i < t.size(); i += 4) {
      const unsigned v = random();
      for (size_t k = 0; k < 4 && i + k < t.size(); ++k) t[i + k] = uint8_t(v >> (8 * k));
    }
    return t;
  }();
  return token;
}

std::vector<uint8_t> WriteItem(Kind kind, const Item& item, const Token& token) {
  Writer w;
  Head(w, kind, token);
  PutItem(w, item, IsVisual(kind), kind == Kind::Text);
  return std::move(w.out);
}

std::vector<uint8_t> WritePage(const Page& page, const Token& token) {
  Writer w;
  Head(w, Kind::Page, token);
  w.I32(page.dur);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    w.U8(page.filled[slot] ? 1 : 0);
    if (page.filled[slot]) PutItem(w, page.items[slot], slot != kSoundSlot, slot == kTextSlot);
  }
  return std::move(w.out);
}

bool Read(const uint8_t* data, size_t size, Kind kind, const Token& token, Block* out) {
  Reader r(data, size);
  char magic[4];
  uint16_t version = 0;
  uint8_t gotKind = 0, reserved = 0;
  Token gotToken{};
  if (!r.Bytes(magic, 4) || std::memcmp(magic, kMagic, 4) != 0) return false;
  if (!r.U16(&version) || version != kVersion) return false;
  if (!r.U8(&gotKind) || gotKind != uint8_t(kind)) return false;
  if (!r.U8(&reserved) || reserved != 0) return false;
  if (!r.Bytes(gotToken.data(), gotToken.size()) || gotToken != token) return false;
  out->kind = kind;
  out->item = Item{};
  out->page = Page{};
  if (kind == Kind::Page) {
    if (!r.I32(&out->page.dur)) return false;
    for (int slot = 0; slot < kSlotCount; ++slot) {
      if (!r.Bool(&out->page.filled[slot])) return false;
      if (out->page.filled[slot] &&
          !GetItem(r, &out->page.items[slot], slot != kSoundSlot, slot == kTextSlot))
        return false;
    }
  } else if (!GetItem(r, &out->item, IsVisual(kind), kind == Kind::Text)) {
    return false;
  }
  return r.AtEnd();
}

}  // namespace clipblock
