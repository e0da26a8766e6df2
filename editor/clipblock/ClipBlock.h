// ClipBlock: the byte layout of the editor's own clipboard formats (one picture, text or sound
// item, or a whole page). Another program, a damaged block or a block left by an earlier run of
// the editor may sit under the same registered names, so the reader trusts nothing: every length
// is checked against the block's size, and a block of another version, of another kind, with
// another run's token or with bytes left over is refused as a whole.
//
// Layout, numbers little-endian:
//   "K3MC"  u16 version (1)  u8 kind (1 picture, 2 text, 3 sound, 4 page)  u8 0  token[16]
//   item:   str path  str extra  i32 begin  i32 end  i32 dur
//           picture and text (and the visual slots of a page): str region  u8 type
//           text: u8 has-text (0/1), then u32 units and the text's UTF-16LE units
//   page:   i32 dur, then for the slots sound, text, picture, video, reference: u8 filled (0/1)
//           and, when filled, the slot's item as above
//   str:    u32 byte count and the bytes (8-bit, system code page)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace clipblock {

constexpr uint16_t kVersion = 1;

enum class Kind : uint8_t { Picture = 1, Text = 2, Sound = 3, Page = 4 };

// The slots of a page in the order the block stores them.
enum Slot { kSoundSlot, kTextSlot, kPictureSlot, kVideoSlot, kRefSlot, kSlotCount };

using Token = std::array<uint8_t, 16>;

struct Item {
  std::string path, extra;
  int32_t begin = 0, end = 0, dur = 0;
  std::string region;    // visual items only
  uint8_t type = 0;      // visual items only
  bool hasText = false;  // text items: whether the text itself travels
  std::u16string text;   // text items: the text's UTF-16 units, without byte-order marks
  bool operator==(const Item&) const = default;
};

struct Page {
  int32_t dur = 0;
  std::array<bool, kSlotCount> filled{};
  std::array<Item, kSlotCount> items{};
  bool operator==(const Page&) const = default;
};

// One block: its kind and either its item or its page.
struct Block {
  Kind kind = Kind::Picture;
  Item item;
  Page page;
};

// The token of this run of the program: random, made once.
const Token& RunToken();

std::vector<uint8_t> WriteItem(Kind kind, const Item& item, const Token& token);
std::vector<uint8_t> WritePage(const Page& page, const Token& token);

// Reads a block of `size` bytes: true with `out` filled when it is a whole block of this version,
// of kind `kind` and with the token `token`; false (and `out` unspecified) otherwise.
bool Read(const uint8_t* data, size_t size, Kind kind, const Token& token, Block* out);

}  // namespace clipblock
