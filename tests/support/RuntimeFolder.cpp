// The test program's own runtime folder (see RuntimeFolder.h). Built into every test program.
#include "support/RuntimeFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace testsupport {

namespace {

class OwnRuntimeFolder {
 public:
  OwnRuntimeFolder() {
    if (const char* named = std::getenv("PLATFORM_RUNTIME_DIR"); named && *named) {
      path_ = named;
      return;
    }
    char folder[] = "/tmp/mmsplatform-test-XXXXXX";
    if (!mkdtemp(folder)) return;
    path_ = folder;
    owner_ = getpid();
    setenv("PLATFORM_RUNTIME_DIR", folder, 1);
  }
  ~OwnRuntimeFolder() {
    // Only the process that made it removes it: a forked child that exits leaves it alone.
    if (owner_ != getpid()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  pid_t owner_ = 0;
};

OwnRuntimeFolder folder;

}  // namespace

const std::string& PrivateRuntimeFolder() { return folder.path(); }

void RestoreRuntimeFolder() {
  if (folder.path().empty())
    unsetenv("PLATFORM_RUNTIME_DIR");
  else
    setenv("PLATFORM_RUNTIME_DIR", folder.path().c_str(), 1);
}

}  // namespace testsupport
