// Starting programs: the arguments as split from the command line, the folder, the process
// handle's wait and exit code.
#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Process.h"
#include "platform/rtl/SyncObjs.h"
#include "support/TempDir.h"

namespace {

DWORD RunToEnd(std::u16string commandLine, const char16_t* directory = nullptr) {
  PROCESS_INFORMATION info{};
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory,
                             &startup, &info));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, INFINITE));
  DWORD code = 12345;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_TRUE(CloseHandle(info.hProcess));
  return code;
}

TEST(CreateProcess, ArgumentsFolderAndExitCode) {
  // A Khmer argument arrives as its UTF-8 bytes; a quoted empty pair is an empty argument.
  EXPECT_EQ(2u, RunToEnd(u"/bin/sh -c \"test $1 = \u1780 && test -z $2 && exit $#\" zero \u1780 \"\""));
  EXPECT_EQ(3u, RunToEnd(u"sh -c \"exit 3\""));  // searched in PATH
  testsupport::TempDir dir;
  std::u16string folder(dir.path().begin(), dir.path().end());
  EXPECT_EQ(0u, RunToEnd(u"/bin/sh -c \"test $(pwd -P) = $(cd " + folder + u" && pwd -P)\"", folder.c_str()));
}

TEST(CreateProcess, StillActiveThenEnded) {
  std::u16string line = u"/bin/sh -c \"sleep 0.3\"";
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(STILL_ACTIVE, code);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(info.hProcess, 0));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 10000));
  ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(0u, code);
  EXPECT_TRUE(CloseHandle(info.hProcess));
  EXPECT_FALSE(GetExitCodeProcess(info.hProcess, &code)) << "a closed handle";
}

TEST(CreateProcess, AMissingProgramFails) {
  std::u16string line = u"/no/such/program arg";
  PROCESS_INFORMATION info{};
  SetLastError(0);
  EXPECT_FALSE(
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
  std::string narrow = "sh -c \"exit 4\"";
  ASSERT_TRUE(
      CreateProcessA(nullptr, narrow.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, INFINITE));
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(4u, code);
  CloseHandle(info.hProcess);
}

}  // namespace
