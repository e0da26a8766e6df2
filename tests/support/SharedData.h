// Where tests find the real files made by others (../shared beside the checkout) and the
// fixtures of our own. A missing shared folder fails the test with a message saying so.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Absolute path of a file below the shared folder, e.g. SharedPath("testdata/mms/SIMPLE.MMS").
// Throws std::runtime_error naming the folder when the shared folder is not there.
std::string SharedPath(const std::string& relative);

// Every regular file in a folder below the shared folder whose name ends in `suffix`, sorted.
std::vector<std::string> SharedFiles(const std::string& relativeFolder, const std::string& suffix = "");

// Whole contents of a file; throws std::runtime_error when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

}  // namespace testsupport
