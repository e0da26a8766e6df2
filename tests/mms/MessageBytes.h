// Builds the bytes of small messages for the reader's tests: header fields, content-type values
// and multipart entries, byte by byte, so that each test shows exactly what it feeds the reader;
// and the bytes it hands back, as strings.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace mmstest {

class MessageBytes {
 public:
  MessageBytes() = default;
  MessageBytes(std::initializer_list<int> bytes) { Add(bytes); }

  MessageBytes& Add(std::initializer_list<int> bytes) {
    for (int b : bytes) v.push_back(static_cast<uint8_t>(b));
    return *this;
  }
  MessageBytes& Add(const MessageBytes& other) {
    v.insert(v.end(), other.v.begin(), other.v.end());
    return *this;
  }
  // The characters without a NUL.
  MessageBytes& Raw(const std::string& text) {
    v.insert(v.end(), text.begin(), text.end());
    return *this;
  }
  // A text and its NUL.
  MessageBytes& Text(const std::string& text) {
    Raw(text);
    v.push_back(0);
    return *this;
  }
  MessageBytes& Uintvar(uint32_t value) {
    uint8_t groups[5];
    int n = 0;
    do {
      groups[n++] = value & 0x7F;
      value >>= 7;
    } while (value);
    while (n > 1) v.push_back(groups[--n] | 0x80);
    v.push_back(groups[0]);
    return *this;
  }
  // A Value-length: one byte up to 30, else 31 and a uintvar.
  MessageBytes& ValueLength(size_t length) {
    if (length <= 30) return Add({static_cast<int>(length)});
    v.push_back(31);
    return Uintvar(static_cast<uint32_t>(length));
  }
  // A general-form value: its Value-length, then the bytes.
  MessageBytes& Valued(const MessageBytes& value) {
    ValueLength(value.v.size());
    return Add(value);
  }
  // One multipart entry: HeadersLen, DataLen, the content type and headers, the data.
  MessageBytes& Entry(const MessageBytes& contentType, const MessageBytes& headers, const std::string& data) {
    Uintvar(static_cast<uint32_t>(contentType.v.size() + headers.v.size()));
    Uintvar(static_cast<uint32_t>(data.size()));
    Add(contentType).Add(headers);
    return Raw(data);
  }

  std::vector<uint8_t> v;
};

// The `size` bytes at `data`, as read back from a part or a slide item. A missing block is empty
// when it should hold nothing, and a failure when it should hold bytes.
inline std::string Bytes(const uint8_t* data, int size) {
  if (data == nullptr) {
    if (size != 0) ADD_FAILURE() << "no data for " << size << " bytes";
    return std::string();
  }
  return std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
}

// The Content-Type field of a multipart.related message of `entries` entries whose SMIL part is
// named by the Start parameter "<AAAA>", as the editor writes it.
inline MessageBytes RelatedHeader(uint32_t entries) {
  MessageBytes m{0x84};
  MessageBytes value{0xB3, 0x89};
  value.Text("application/smil").Add({0x8A}).Text("<AAAA>");
  m.Valued(value);
  return m.Uintvar(entries);
}

// A content-type value with a Name parameter (and a charset when given).
inline MessageBytes NamedType(const MessageBytes& media, const std::string& name, int charset = -1) {
  MessageBytes value = media;
  value.Add({0x85}).Text(name);
  if (charset >= 0) value.Add({0x81, 0x80 | charset});
  return MessageBytes().Valued(value);
}

inline MessageBytes ContentId(const std::string& id) { return MessageBytes{0xC0, 0x22}.Text(id); }
inline MessageBytes ContentLocation(const std::string& location) { return MessageBytes{0x8E}.Text(location); }

// The SMIL the editor writes for one 5000 ms slide of a picture and a text: what the reader's tests
// feed it, and what the writer's tests expect byte for byte.
inline const char kEditorSmil[] =
    "<smil>\r\n<head>\r\n<meta name=\"title\" content=\"mms info\" />\r\n"
    "<meta name=\"author\" content=\"Brimlow System\" />\r\n<layout>\r\n"
    "<root-layout width=\"176\" height=\"220\"/>\r\n"
    "<region id=\"Image\" width=\"160\" height=\"170\" left=\"0\" top=\"0\" />\r\n"
    "<region id=\"Text\" width=\"160\" height=\"30\" left=\"0\" top=\"170\" />\r\n"
    "</layout>\r\n</head>\r\n<body>\r\n<par dur=\"5000ms\">\r\n"
    "<img src=\"Image0.jpg\" region=\"Image\" begin=\"0ms\" end=\"5000ms\" />\r\n"
    "<text src=\"text0.txt\" region=\"Text\" begin=\"0ms\" end=\"5000ms\" />\r\n"
    "</par>\r\n</body>\r\n</smil>";

// A message laid out as the editor writes one: the SMIL entry first, then a UTF-8 text and a
// JPEG picture of slide 0, each named by Name, Content-ID and Content-Location.
inline MessageBytes EditorMessage(const std::string& text = "Hello\r\n",
                                  const std::string& jpeg = std::string("\xFF\xD8\xFF\xE0", 4) +
                                                            "JFIF-data") {
  MessageBytes m = RelatedHeader(3);
  MessageBytes smilType =
      MessageBytes{0x1D}.Text("application/smil").Add({0x85}).Text("mms.smil").Add({0x81, 0xEA});
  m.Entry(smilType, ContentId("<AAAA>"), kEditorSmil);
  m.Entry(NamedType({0x83}, "text0.txt", 106), ContentId("<text0.txt>").Add(ContentLocation("text0.txt")),
          text);
  m.Entry(NamedType({0x9E}, "Image0.jpg"), ContentId("<Image0.jpg>").Add(ContentLocation("Image0.jpg")),
          jpeg);
  return m;
}

}  // namespace mmstest
