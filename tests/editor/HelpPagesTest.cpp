// The help pages F1 opens: every page of every language is there, the HTML reader finds nothing
// wrong in it, every link between the pages leads to a page that exists, and the first page
// reaches every page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kHelp = fs::path(MMS_SOURCE_DIR) / "resources/help";
const char* const kLanguages[] = {"en", "vi", "km"};
const char* const kPages[] = {"index",       "pages",  "inserting", "reordering",
                              "compressing", "saving", "sending",   "shortcuts"};

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The pages a page links to, as normal paths (links outside the help are left out).
std::set<fs::path> LinksOf(const fs::path& page) {
  std::set<fs::path> out;
  const std::string text = Read(page);
  static const std::regex href("href=\"([^\"#]+)[^\"]*\"");
  for (std::sregex_iterator it(text.begin(), text.end(), href), end; it != end; ++it)
    out.insert((page.parent_path() / (*it)[1].str()).lexically_normal());
  return out;
}

std::set<fs::path> AllPages() {
  std::set<fs::path> pages{(kHelp / "index.html").lexically_normal()};
  for (const char* language : kLanguages)
    for (const char* page : kPages)
      pages.insert((kHelp / language / (std::string(page) + ".html")).lexically_normal());
  return pages;
}

TEST(HelpPages, EveryPageIsThereAndWellFormed) {
  for (const fs::path& page : AllPages()) {
    SCOPED_TRACE(page.string());
    ASSERT_TRUE(fs::is_regular_file(page));
    const std::string command = "xmllint --html --noout '" + page.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string complaints;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) complaints.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(complaints, "");
  }
}

TEST(HelpPages, EveryLinkResolvesAndTheFirstPageReachesEveryPage) {
  for (const fs::path& page : AllPages())
    for (const fs::path& target : LinksOf(page))
      EXPECT_TRUE(fs::is_regular_file(target)) << page << " links to " << target;
  const std::set<fs::path> fromIndex = LinksOf(kHelp / "index.html");
  for (const fs::path& page : AllPages()) {
    if (page == (kHelp / "index.html").lexically_normal()) continue;
    EXPECT_TRUE(fromIndex.count(page)) << "the first page does not link " << page;
  }
  // No page is left out of the set checked above.
  for (const auto& entry : fs::recursive_directory_iterator(kHelp)) {
    if (entry.path().extension() == ".html") {
      EXPECT_TRUE(AllPages().count(entry.path().lexically_normal())) << entry.path();
    }
  }
}

}  // namespace
