// System information checked against what the system's own tools say at the same moment.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FileApi.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SystemInfo.h"
#include "platform/rtl/Utf8.h"
#include "support/TempDir.h"

namespace {

// A command's output without its final line break.
std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p)) out += buffer;
    ::pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

std::u16string W(const std::string& s) { return platform::Utf8ToUtf16(s); }

TEST(SystemInfo, ComputerAndUserNamesAreTheSystems) {
  const std::string host = CommandOutput("uname -n"), user = CommandOutput("id -un");
  ASSERT_FALSE(host.empty());
  ASSERT_FALSE(user.empty());
  char16_t wide[256];
  DWORD size = 256;
  ASSERT_TRUE(GetComputerNameW(wide, &size));
  EXPECT_EQ(std::u16string(wide), W(host));
  EXPECT_EQ(size, host.size()) << "the length, terminator not counted";
  char narrow[256];
  size = 256;
  ASSERT_TRUE(GetComputerNameA(narrow, &size));
  EXPECT_EQ(std::string(narrow), host);
  // Too small: the size needed, terminator included.
  size = static_cast<DWORD>(host.size());
  SetLastError(0);
  EXPECT_FALSE(GetComputerNameW(wide, &size));
  EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
  EXPECT_EQ(size, host.size() + 1);

  size = 256;
  ASSERT_TRUE(GetUserNameW(wide, &size));
  EXPECT_EQ(std::u16string(wide), W(user));
  EXPECT_EQ(size, user.size() + 1) << "the user name's size counts the terminator";
  size = 1;
  SetLastError(0);
  EXPECT_FALSE(GetUserNameA(narrow, &size));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(size, user.size() + 1);
}

TEST(SystemInfo, FreeSpaceIsWithinWhatDfReports) {
  testsupport::TempDir dir;
  auto df = [&] {
    std::istringstream in(CommandOutput("df -B1 --output=avail,size '" + dir.path() + "' | tail -1"));
    unsigned long long avail = 0, size = 0;
    in >> avail >> size;
    return std::pair(avail, size);
  };
  const auto before = df();
  DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
  const std::u16string root = W(dir.path());
  ASSERT_TRUE(GetDiskFreeSpaceW(root.c_str(), &sectors, &bytes, &freeClusters, &totalClusters));
  const auto after = df();
  ASSERT_GT(before.second, 0u);
  const unsigned long long cluster = 1ull * sectors * bytes;
  const unsigned long long freeBytes = cluster * freeClusters, totalBytes = cluster * totalClusters;
  // Other programs write and delete meanwhile: between the two readings, give or take what a
  // build may write in that moment (far less than any mistake of unit or field would be).
  const unsigned long long slack = 512ull << 20;
  EXPECT_GE(freeBytes + cluster + slack, std::min(before.first, after.first));
  EXPECT_LE(freeBytes, std::max(before.first, after.first) + slack);
  EXPECT_GT(totalBytes + cluster, before.second);
  EXPECT_LE(totalBytes, before.second);
  // The 8-bit form and a null root (the current folder) answer too; missing folders fail.
  EXPECT_TRUE(GetDiskFreeSpaceA(dir.path().c_str(), nullptr, nullptr, &freeClusters, nullptr));
  EXPECT_TRUE(GetDiskFreeSpaceW(nullptr, &sectors, nullptr, nullptr, nullptr));
  SetLastError(0);
  EXPECT_FALSE(GetDiskFreeSpaceW((root + u"/none/deeper").c_str(), &sectors, &bytes, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(SystemInfo, VolumeInformationIsTheMountTables) {
  testsupport::TempDir dir;
  const std::string type = CommandOutput("findmnt -n -o FSTYPE -T '" + dir.path() + "'");
  const std::string id = CommandOutput("stat -f -c %i '" + dir.path() + "'");
  const std::string longest = CommandOutput("stat -f -c %l '" + dir.path() + "'");
  ASSERT_FALSE(type.empty());
  ASSERT_EQ(id.size(), 16u) << id;
  const unsigned long long fsid = std::stoull(id, nullptr, 16);
  char16_t volume[64] = u"x", system[64];
  DWORD serial = 0, maxComponent = 0, flags = 0;
  const std::u16string root = W(dir.path()) + u"/";
  ASSERT_TRUE(GetVolumeInformationW(root.c_str(), volume, 64, &serial, &maxComponent, &flags, system, 64));
  EXPECT_EQ(std::u16string(system), W(type));
  EXPECT_EQ(serial, static_cast<DWORD>(fsid ^ (fsid >> 32)));
  EXPECT_EQ(maxComponent, std::stoul(longest));
  EXPECT_TRUE(flags & FILE_CASE_SENSITIVE_SEARCH);
  EXPECT_NE(volume[0], u'x') << "the label (empty where there is none) is written";
  // The 8-bit form agrees; too small a buffer and a missing path fail.
  char narrowSystem[64];
  DWORD narrowSerial = 0;
  ASSERT_TRUE(GetVolumeInformationA(dir.path().c_str(), nullptr, 0, &narrowSerial, nullptr, nullptr,
                                    narrowSystem, 64));
  EXPECT_EQ(std::string(narrowSystem), type);
  EXPECT_EQ(narrowSerial, serial);
  SetLastError(0);
  EXPECT_FALSE(GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, system,
                                     static_cast<DWORD>(type.size())));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_FALSE(
      GetVolumeInformationW((root + u"none").c_str(), nullptr, 0, nullptr, nullptr, nullptr, system, 64));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(SystemInfo, TemporaryFilesAreCreatedExclusivelyAndNeverCollide) {
  testsupport::TempDir dir;
  const std::u16string folder = W(dir.path());
  std::set<std::u16string> names;
  for (int i = 0; i < 40; ++i) {
    char16_t name[260];
    UINT n = GetTempFileNameW(folder.c_str(), u"\u1780mmsx", 0, name);
    ASSERT_NE(n, 0u);
    const std::u16string text(name);
    EXPECT_TRUE(names.insert(text).second) << "a name handed out twice";
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", n);
    EXPECT_EQ(text, folder + u"/\u1780mm" + W(hex) + u".tmp");
    struct stat st {};
    ASSERT_EQ(::stat(platform::Utf16ToUtf8(text).c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "only the owner may touch it";
  }
  // A number of the caller's only makes the name.
  char16_t name[260];
  EXPECT_EQ(GetTempFileNameW((folder + u"/").c_str(), nullptr, 0x12AB, name), 0x12ABu);
  EXPECT_EQ(std::u16string(name), folder + u"/12AB.tmp");
  EXPECT_FALSE(std::filesystem::exists(dir.file("12AB.tmp")));
  char narrow[260];
  UINT n = GetTempFileNameA(dir.path().c_str(), "abc", 0, narrow);
  ASSERT_NE(n, 0u);
  EXPECT_TRUE(std::filesystem::exists(narrow));

  struct Refused {
    std::u16string path, prefix;
    DWORD error;
  };
  const Refused refused[] = {
      {folder + u"/missing", u"mms", ERROR_PATH_NOT_FOUND},
      {folder, u"../", ERROR_INVALID_PARAMETER},
      {folder, u"a\\b", ERROR_INVALID_PARAMETER},
      {folder + u"/" + std::u16string(250, u'd'), u"mms", ERROR_BUFFER_OVERFLOW},
  };
  const auto before = std::distance(std::filesystem::directory_iterator(dir.path()), {});
  for (const Refused& r : refused) {
    SetLastError(0);
    EXPECT_EQ(GetTempFileNameW(r.path.c_str(), r.prefix.c_str(), 0, name), 0u);
    EXPECT_EQ(GetLastError(), r.error);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), before) << "nothing made";
}

}  // namespace
