#include "tests/editor/StandInProcess.h"

#include <gtest/gtest.h>
#include <spawn.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "platform/win/Win.h"

extern char** environ;

namespace editortest {

HWND StartStandIn(const std::string& store, const std::vector<std::string>& extra, pid_t* pid,
                  const char* title) {
  std::vector<std::string> args = {CONNECTION_MANAGER_PATH, "--store", store};
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  char backend[] = "PLATFORM_BACKEND=headless";
  std::vector<char*> env = {backend};
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "PLATFORM_BACKEND=", 17)) env.push_back(*e);
  }
  env.push_back(nullptr);
  EXPECT_EQ(posix_spawn(pid, CONNECTION_MANAGER_PATH, nullptr, nullptr, argv.data(), env.data()), 0);
  HWND peer = nullptr;
  for (int i = 0; i < 400 && !peer; ++i) {
    peer = FindWindowA(nullptr, title);
    if (!peer) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return peer;
}

std::vector<std::string> StandInJournal(const std::string& store) {
  std::vector<std::string> lines;
  std::ifstream in(store + "/journal.jsonl");
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace editortest
