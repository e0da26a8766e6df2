// Writes platform/rtl/DoubleByteTables.cpp: the double-byte Windows code pages 932, 936, 949 and
// 950 as tables taken from ICU's converters, so the program itself needs no ICU. Per page: the
// single bytes 0x80-0xFF, which of them lead a pair, the trail bytes a lead consumes, one row of
// trail bytes 0x40-0xFE per lead byte, and the pairs that decode to a unit which encodes to other
// bytes (the reverse direction is built from the rest). Every table is checked against ICU in
// both directions before it is written. Built and run by tools/gen-double-byte-tables.
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

struct Page {
  unsigned number;
  const char* icuName;
};
constexpr Page kPages[] = {
    {932, "ibm-943_P15A-2003"},
    {936, "windows-936-2000"},
    {949, "windows-949-2000"},
    {950, "windows-950-2000"},
};

constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFE;
constexpr int kTrailCount = kTrailLast - kTrailFirst + 1;

[[noreturn]] void Fail(unsigned page, const char* what, unsigned value) {
  std::fprintf(stderr, "page %u: %s (%#x)\n", page, what, value);
  std::exit(1);
}

UConverter* Open(const Page& p) {
  UErrorCode e = U_ZERO_ERROR;
  UConverter* c = ucnv_open(p.icuName, &e);
  if (U_FAILURE(e)) Fail(p.number, "ICU has no converter", 0);
  ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &e);
  ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &e);
  ucnv_setFallback(c, false);
  return c;
}

// The units `bytes` decode to, or an empty vector when ICU reports an error.
std::vector<UChar> Decode(UConverter* c, const std::string& bytes) {
  ucnv_reset(c);
  UChar out[8];
  UErrorCode e = U_ZERO_ERROR;
  int32_t n = ucnv_toUChars(c, out, 8, bytes.data(), static_cast<int32_t>(bytes.size()), &e);
  if (U_FAILURE(e)) return {};
  return std::vector<UChar>(out, out + n);
}

// The units a lenient decoder gives (undefined sequences replaced), to see which bytes it takes.
std::vector<UChar> DecodeSubstituting(UConverter* c, const std::string& bytes) {
  ucnv_reset(c);
  UErrorCode e = U_ZERO_ERROR;
  ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &e);
  UChar out[8];
  int32_t n = ucnv_toUChars(c, out, 8, bytes.data(), static_cast<int32_t>(bytes.size()), &e);
  UErrorCode e2 = U_ZERO_ERROR;
  ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &e2);
  if (U_FAILURE(e)) return {};
  return std::vector<UChar>(out, out + n);
}

// The bytes a unit encodes to (round-trip mappings only), or empty.
std::string Encode(UConverter* c, UChar u) {
  ucnv_reset(c);
  char out[8];
  UErrorCode e = U_ZERO_ERROR;
  int32_t n = ucnv_fromUChars(c, out, 8, &u, 1, &e);
  if (U_FAILURE(e)) return {};
  return std::string(out, static_cast<std::size_t>(n));
}

bool IsSwappedControl(const Page& p, unsigned unit) {
  return p.number == 932 && (unit == 0x1A || unit == 0x1C || unit == 0x7F);
}

void EmitPage(const Page& p) {
  UConverter* c = Open(p);
  // Bytes below 0x80 are ASCII in every page. ICU's table for 932 swaps 0x1A, 0x1C and 0x7F
  // (an IBM control layout the Windows page does not have); no other byte may differ.
  for (int b = 0; b < 0x80; ++b) {
    std::vector<UChar> u = Decode(c, std::string(1, static_cast<char>(b)));
    if (IsSwappedControl(p, static_cast<unsigned>(b))) continue;
    if (u.size() != 1 || u[0] != b) Fail(p.number, "byte below 0x80 is not ASCII", static_cast<unsigned>(b));
  }
  std::vector<unsigned> single(128, 0xFFFD);
  std::vector<bool> lead(128, false);
  for (int b = 0x80; b < 0x100; ++b) {
    ucnv_reset(c);
    char in = static_cast<char>(b);
    UChar out[4];
    UErrorCode e = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(c, out, 4, &in, 1, &e);
    if (e == U_TRUNCATED_CHAR_FOUND) {
      lead[static_cast<std::size_t>(b - 0x80)] = true;
    } else if (U_SUCCESS(e) && n == 1) {
      single[static_cast<std::size_t>(b - 0x80)] = out[0];
    }
  }
  // Which trail bytes a lead takes with it when the pair is undefined: the same for every lead.
  std::vector<bool> trail(256, false);
  bool first = true;
  std::vector<std::vector<unsigned>> rows;
  std::vector<unsigned> decodeOnly;
  for (int l = 0x80; l < 0x100; ++l) {
    if (!lead[static_cast<std::size_t>(l - 0x80)]) continue;
    std::vector<unsigned> row(kTrailCount, 0xFFFD);
    for (int t = 0; t < 0x100; ++t) {
      std::string pair{static_cast<char>(l), static_cast<char>(t)};
      std::vector<UChar> lenient = DecodeSubstituting(c, pair);
      bool takes = lenient.size() == 1;
      if (first)
        trail[static_cast<std::size_t>(t)] = takes;
      else if (trail[static_cast<std::size_t>(t)] != takes)
        Fail(p.number, "trail bytes differ between leads", static_cast<unsigned>((l << 8) | t));
      std::vector<UChar> u = Decode(c, pair);
      if (u.empty()) continue;
      if (u.size() != 1)
        Fail(p.number, "pair decodes to more than one unit", static_cast<unsigned>((l << 8) | t));
      if (t < kTrailFirst || t > kTrailLast || !takes)
        Fail(p.number, "defined pair outside the trail range", static_cast<unsigned>((l << 8) | t));
      row[static_cast<std::size_t>(t - kTrailFirst)] = u[0];
      if (Encode(c, u[0]) != pair) decodeOnly.push_back(static_cast<unsigned>((l << 8) | t));
    }
    first = false;
    rows.push_back(row);
  }
  for (int b = 0x80; b < 0x100; ++b) {
    unsigned u = single[static_cast<std::size_t>(b - 0x80)];
    if (u != 0xFFFD && Encode(c, static_cast<UChar>(u)) != std::string(1, static_cast<char>(b)))
      Fail(p.number, "single byte does not round-trip", static_cast<unsigned>(b));
  }
  // The reverse direction as the program will build it must be ICU's encoder, unit for unit.
  std::map<unsigned, std::string> reverse;
  for (unsigned b = 0; b < 0x80; ++b) reverse[b] = std::string(1, static_cast<char>(b));
  for (int b = 0x80; b < 0x100; ++b)
    if (single[static_cast<std::size_t>(b - 0x80)] != 0xFFFD)
      reverse[single[static_cast<std::size_t>(b - 0x80)]] = std::string(1, static_cast<char>(b));
  std::size_t r = 0;
  for (int l = 0x80; l < 0x100; ++l) {
    if (!lead[static_cast<std::size_t>(l - 0x80)]) continue;
    for (int t = kTrailFirst; t <= kTrailLast; ++t) {
      unsigned u = rows[r][static_cast<std::size_t>(t - kTrailFirst)];
      unsigned seq = static_cast<unsigned>((l << 8) | t);
      bool skip = false;
      for (unsigned d : decodeOnly) skip = skip || d == seq;
      if (u == 0xFFFD || skip) continue;
      if (reverse.count(u)) Fail(p.number, "two sequences encode one unit", u);
      reverse[u] = std::string{static_cast<char>(l), static_cast<char>(t)};
    }
    ++r;
  }
  for (unsigned u = 0; u < 0x10000; ++u) {
    if ((u >= 0xD800 && u <= 0xDFFF) || IsSwappedControl(p, u)) continue;
    std::string icu = Encode(c, static_cast<UChar>(u));
    // ICU always uses its fallbacks for private-use units; only round trips count here.
    std::vector<UChar> back = icu.empty() ? std::vector<UChar>() : Decode(c, icu);
    if (back.size() != 1 || back[0] != u) icu.clear();
    auto it = reverse.find(u);
    std::string ours = it == reverse.end() ? std::string() : it->second;
    if (icu != ours) Fail(p.number, "reverse table differs from ICU's encoder", u);
  }
  ucnv_close(c);

  unsigned n = p.number;
  std::printf("const char16_t kCp%uSingle[128] = {\n", n);
  for (int i = 0; i < 128; ++i)
    std::printf("%s0x%04X,%s", i % 8 ? " " : "    ", single[static_cast<std::size_t>(i)],
                i % 8 == 7 ? "\n" : "");
  std::printf("};\n");
  std::printf("const std::uint8_t kCp%uLeadRow[128] = {\n", n);
  int row = 0;
  for (int i = 0; i < 128; ++i)
    std::printf("%s%d,%s", i % 16 ? " " : "    ", lead[static_cast<std::size_t>(i)] ? ++row : 0,
                i % 16 == 15 ? "\n" : "");
  std::printf("};\n");
  std::printf("const std::uint64_t kCp%uTrail[4] = {", n);
  for (int w = 0; w < 4; ++w) {
    unsigned long long bits = 0;
    for (int b = 0; b < 64; ++b)
      if (trail[static_cast<std::size_t>(w * 64 + b)]) bits |= 1ULL << b;
    std::printf("%s0x%016llXULL", w ? ", " : "", bits);
  }
  std::printf("};\n");
  std::printf("const char16_t kCp%uRows[%zu][%d] = {\n", n, rows.size(), kTrailCount);
  for (const auto& rw : rows) {
    std::printf("    {");
    for (int i = 0; i < kTrailCount; ++i)
      std::printf("%s%u%s", i == 0 ? "" : (i % 16 ? "," : ",\n     "), rw[static_cast<std::size_t>(i)], "");
    std::printf("},\n");
  }
  std::printf("};\n");
  std::printf("const std::uint16_t kCp%uDecodeOnly[%zu] = {", n, decodeOnly.size() + 1);
  for (std::size_t i = 0; i < decodeOnly.size(); ++i)
    std::printf("%s0x%04X,", i % 12 ? " " : "\n    ", decodeOnly[i]);
  std::printf("\n    0};\n\n");
}

}  // namespace

int main() {
  std::printf("// Generated by tools/gen-double-byte-tables from ICU's converters; do not edit.\n");
  std::printf("// clang-format off\n");
  std::printf("#include \"platform/rtl/DoubleByteTables.h\"\n\n");
  std::printf("namespace platform {\nnamespace {\n\n");
  for (const Page& p : kPages) EmitPage(p);
  std::printf("constexpr DoubleBytePageTables kPages[] = {\n");
  for (const Page& p : kPages)
    std::printf("    {%u, kCp%uSingle, kCp%uLeadRow, kCp%uTrail, kCp%uRows, kCp%uDecodeOnly},\n", p.number,
                p.number, p.number, p.number, p.number, p.number);
  std::printf("};\n\n}  // namespace\n\n");
  std::printf("const DoubleBytePageTables* DoubleBytePageTablesFor(unsigned codePage) {\n");
  std::printf("  for (const DoubleBytePageTables& p : kPages)\n");
  std::printf("    if (p.codePage == codePage) return &p;\n");
  std::printf("  return nullptr;\n}\n\n}  // namespace platform\n");
  return 0;
}
