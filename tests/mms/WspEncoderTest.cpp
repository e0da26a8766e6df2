// The WSP basic values as WAP-230 defines them: uintvars, value lengths, text strings.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "mms/WspEncoder.h"

namespace {

using Bytes = std::vector<unsigned char>;

TEST(WspEncodeUintvar, WritesSevenBitGroupsMostSignificantFirst) {
  struct Case {
    std::uint32_t value;
    Bytes bytes;
  } cases[] = {
      {0, {0x00}},
      {127, {0x7F}},
      {128, {0x81, 0x00}},
      {300, {0x82, 0x2C}},
      {491, {0x83, 0x6B}},
      {1234, {0x89, 0x52}},
      {16383, {0xFF, 0x7F}},
      {16384, {0x81, 0x80, 0x00}},
      {2097152, {0x81, 0x80, 0x80, 0x00}},
      {0xFFFFFFFFu, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const Case& c : cases) {
    unsigned char out[WSP_UINTVAR_MAX_BYTES + 1] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    int n = WspEncodeUintvar(out, c.value);
    EXPECT_EQ(Bytes(out, out + n), c.bytes) << c.value;
    EXPECT_EQ(WspUintvarSize(c.value), n) << c.value;
    EXPECT_EQ(out[n], 0xEE) << c.value;
  }
}

TEST(WspEncodeValueLength, QuotesLengthsAboveThirty) {
  struct Case {
    std::uint32_t length;
    Bytes bytes;
  } cases[] = {
      {0, {0x00}},
      {27, {0x1B}},
      {30, {0x1E}},
      {31, {0x1F, 0x1F}},
      {200, {0x1F, 0x81, 0x48}},
      {0xFFFFFFFFu, {0x1F, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const Case& c : cases) {
    unsigned char out[WSP_VALUE_LENGTH_MAX_BYTES];
    int n = WspEncodeValueLength(out, c.length);
    EXPECT_EQ(Bytes(out, out + n), c.bytes) << c.length;
    EXPECT_EQ(WspValueLengthSize(c.length), n) << c.length;
  }
}

TEST(WspEncodeText, WritesTheTextAndItsEndAndQuotesAHighFirstByte) {
  struct Case {
    const char* text;
    Bytes bytes;
  } cases[] = {
      {"mms.smil", {'m', 'm', 's', '.', 's', 'm', 'i', 'l', 0}},
      {"", {0}},
      {"\xC3\xA4x", {0x7F, 0xC3, 0xA4, 'x', 0}},
  };
  for (const Case& c : cases) {
    Bytes out(c.bytes.size() + 1, 0xEE);
    unsigned char* cursor = out.data();
    WspEncodeText(&cursor, c.text);
    EXPECT_EQ(cursor - out.data(), static_cast<long>(c.bytes.size()));
    EXPECT_EQ(WspTextSize(c.text), c.bytes.size());
    out.pop_back();
    EXPECT_EQ(out, c.bytes);
  }
}

}  // namespace
