// Opening a message in the editor (decode, parse, unpack every part into the working folder,
// re-time the pages) against the reader alone on the same bytes (headers decoded and the body
// parsed, then released). The editor runs headless in a temporary application folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "editor/EditorStart.h"
#include "editor/TfrmMain.h"
#include "mms/MmsDecoder.h"
#include "mms/SmilParser.h"
#include "platform/forms/PlatformStartup.h"

namespace {

const std::string kMessage = std::string(MMS_SHARED_DIR) + "/testdata/mms/SonyEricssonT310-R201.mms";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The editor started once for the whole run.
TfrmMain* Editor() {
  static TfrmMain* main = [] {
    char appDir[] = "/tmp/bench-editor-app-XXXXXX", runtime[] = "/tmp/bench-editor-run-XXXXXX";
    static std::string folders[2] = {mkdtemp(appDir), mkdtemp(runtime)};
    setenv("MMSEDITOR_APP_DIR", folders[0].c_str(), 1);
    setenv("PLATFORM_RUNTIME_DIR", folders[1].c_str(), 1);
    std::atexit([] {
      for (const std::string& folder : folders) std::filesystem::remove_all(folder);
    });
    platform::Startup();
    EditorStart({});
    return frmMain;
  }();
  return main;
}

void BM_ReaderAlone(benchmark::State& state) {
  const std::string bytes = ReadAll(kMessage);
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
BENCHMARK(BM_ReaderAlone);

void BM_EditorOpenMmsFile(benchmark::State& state) {
  TfrmMain* main = Editor();
  const int64_t size = int64_t(std::filesystem::file_size(kMessage));
  for (auto _ : state) main->OpenMmsFile(kMessage.c_str());
  state.SetBytesProcessed(int64_t(state.iterations()) * size);
}
BENCHMARK(BM_EditorOpenMmsFile);

}  // namespace
