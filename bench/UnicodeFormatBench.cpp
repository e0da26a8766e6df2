// One table of floating-point specifiers (e, f, g, m, n with widths, "*", "-" and explicit
// indexes) formatted as UTF-16 text four ways in the same run: the layer's checks
// (GetCanonicalFormatStr) plus its formatter (Uc_WideFormat, which formats the floats ahead
// through the 8-bit formatter), the layer's formatter alone, the platform's WideFormat alone,
// and the C library's snprintf on the equivalent printf formats (this compiler's library has
// no std::format). The goal: the pre-pass adds under half to WideFormat's time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <initializer_list>
#include <vector>

#include "platform/rtl/Format.h"
#include "unicode/TFormatStrParser.h"
#include "unicode/UcWideFormat.h"

namespace {

struct Row {
  const char16_t* format;
  const char* printfFormat;
  std::vector<TVarRec> args;
};

const std::vector<Row>& Table() {
  static const std::vector<Row> rows = {
      {u"%e", "%.15E", {1234.5678}},
      {u"[%10.2f] [%-10.3e]", "[%10.2f] [%-10.3E]", {3.14159, 2.71828}},
      {u"%g %n", "%.15G %.2f", {0.000123, 1234567.891}},
      {u"%m", "$%.2f", {99.5}},
      {u"%*.*f and %s", "%*.*f and %s", {9, 2, 3.14159, u"\u1781\u17D2\u1798\u17C2\u179A"}},
      {u"%1:f %0:d %n", "%2$f %1$d %2$.2f", {42, 1234567.891, 0.25}},
  };
  return rows;
}

void BM_CanonicalPlusUcWideFormat(benchmark::State& state) {
  for (auto _ : state)
    for (const Row& row : Table()) {
      benchmark::DoNotOptimize(GetCanonicalFormatStr(row.format));
      benchmark::DoNotOptimize(Uc_WideFmtStr(row.format, row.args.data(), int(row.args.size()) - 1));
    }
}
BENCHMARK(BM_CanonicalPlusUcWideFormat);

void BM_UcWideFormat(benchmark::State& state) {
  for (auto _ : state)
    for (const Row& row : Table())
      benchmark::DoNotOptimize(Uc_WideFmtStr(row.format, row.args.data(), int(row.args.size()) - 1));
}
BENCHMARK(BM_UcWideFormat);

void BM_PlatformWideFormat(benchmark::State& state) {
  for (auto _ : state)
    for (const Row& row : Table())
      benchmark::DoNotOptimize(WideFormat(row.format, row.args.data(), int(row.args.size()) - 1));
}
BENCHMARK(BM_PlatformWideFormat);

void BM_Snprintf(benchmark::State& state) {
  char buffer[256];
  for (auto _ : state) {
    std::snprintf(buffer, sizeof buffer, Table()[0].printfFormat, 1234.5678);
    std::snprintf(buffer, sizeof buffer, Table()[1].printfFormat, 3.14159, 2.71828);
    std::snprintf(buffer, sizeof buffer, Table()[2].printfFormat, 0.000123, 1234567.891);
    std::snprintf(buffer, sizeof buffer, Table()[3].printfFormat, 99.5);
    std::snprintf(buffer, sizeof buffer, Table()[4].printfFormat, 9, 2, 3.14159, "\xE1\x9E\x81");
    std::snprintf(buffer, sizeof buffer, Table()[5].printfFormat, 42, 1234567.891);
    benchmark::DoNotOptimize(buffer);
  }
}
BENCHMARK(BM_Snprintf);

}  // namespace
