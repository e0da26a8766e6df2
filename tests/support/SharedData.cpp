#include "support/SharedData.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

static fs::path SharedRoot() {
  fs::path root(MMS_SHARED_DIR);
  if (!fs::is_directory(root / "testdata")) {
    throw std::runtime_error("shared test data not found at " + root.string() +
                             " (expected ../shared beside the checkout, or set MMS_SHARED_DIR)");
  }
  return root;
}

std::string SharedPath(const std::string& relative) {
  fs::path p = SharedRoot() / relative;
  if (!fs::exists(p)) throw std::runtime_error("shared test file missing: " + p.string());
  return p.string();
}

std::vector<std::string> SharedFiles(const std::string& relativeFolder, const std::string& suffix) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(SharedRoot() / relativeFolder)) {
    if (!e.is_regular_file()) continue;
    std::string name = e.path().filename().string();
    if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      out.push_back(e.path().string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testsupport
