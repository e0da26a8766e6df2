// Opening a message in the editor (decode, parse, unpack every part into the working folder,
// re-time the pages) against the reader alone on the same bytes (headers decoded and the body
// parsed, then released), on a phone's message and on twenty composed pages of about 290 KB. The
// editor runs headless in a temporary application folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/EditorBenchSupport.h"
#include "mms/MmsDecoder.h"
#include "mms/SmilParser.h"

namespace {

const std::string kPhoneMessage = std::string(MMS_SHARED_DIR) + "/testdata/mms/SonyEricssonT310-R201.mms";

// A message of twenty pages of about 290 KB, saved once by the editor itself.
const std::string& ComposedMessage() {
  static const std::string path = [] {
    TfrmMain* main = editorbench::Editor();
    editorbench::ComposeTwentyPages(main);
    static const std::string file = std::filesystem::temp_directory_path() / "bench-editor-open-20.mms";
    main->SaveMmsFile(file.c_str());
    std::atexit([] { std::filesystem::remove(file); });
    return file;
  }();
  return path;
}

const std::string& Message(int which) { return which == 0 ? kPhoneMessage : ComposedMessage(); }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Argument 0: a phone's one-slide message; 1: the composed twenty pages.
void BM_ReaderAlone(benchmark::State& state) {
  const std::string bytes = ReadAll(Message(int(state.range(0))));
  for (auto _ : state) {
    tMMS_RetrieveConf* record =
        MmsDecodeHeaders(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()));
    if (record && !record->Body.empty())
      benchmark::DoNotOptimize(MmsParseBody(record->Body.data(), int(record->Body.size())));
    MmsFreeParsedBody();
    if (record) MmsPduFree(record, MMS_PDU_RETRIEVE_CONF);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_ReaderAlone)->Arg(0)->Arg(1);

void BM_EditorOpenMmsFile(benchmark::State& state) {
  TfrmMain* main = editorbench::Editor();
  const std::string& message = Message(int(state.range(0)));
  const int64_t size = int64_t(std::filesystem::file_size(message));
  for (auto _ : state) main->OpenMmsFile(message.c_str());
  state.SetBytesProcessed(int64_t(state.iterations()) * size);
}
BENCHMARK(BM_EditorOpenMmsFile)->Arg(0)->Arg(1);

}  // namespace
