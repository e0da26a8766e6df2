// The Unicode open and save dialogs: UTF-16 names from the multiple-choice buffer, the
// settings the dialog is shown with, the initial folder's trailing delimiter, and the file
// name read while the dialog is still open (also a path longer than the first question's room).
#include <optional>
#include <string>
#include <vector>

#include "UcFixture.h"
#include "unicode/TUcSaveDialog.h"
#include "unicode/TUcStrings.h"

namespace {

using namespace uctest;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

using UcFileDialogsTest = UcTest;

std::vector<std::u16string> Names(TUcStrings* files) {
  std::vector<std::u16string> names;
  for (int i = 0; i < files->Count(); ++i) names.push_back(files->Strings(i).ToU16());
  return names;
}

// A dialog function that answers with a prepared result buffer.
std::u16string fakeBuffer;
BOOL FakeDialog(OPENFILENAMEW* record) {
  std::copy_n(fakeBuffer.begin(), std::min<size_t>(fakeBuffer.size(), record->nMaxFile), record->lpstrFile);
  return TRUE;
}

class DialogOverFakeBuffer : public TUcOpenDialog {
 public:
  using TUcOpenDialog::TUcOpenDialog;
  bool RunWith(const std::u16string& buffer) {
    fakeBuffer = buffer;
    return DoExecuteW(&FakeDialog, nullptr);
  }
};

TEST_F(UcFileDialogsTest, AMultipleChoiceBecomesFullUtf16Paths) {
  using namespace std::string_literals;
  struct Case {
    std::u16string buffer;
    std::vector<std::u16string> files;
  };
  const Case cases[] = {
      {u"/d/ខ្មែរ\0a.txt\0b.txt\0\0"s, {u"/d/ខ្មែរ/a.txt", u"/d/ខ្មែរ/b.txt"}},
      {u"/d/ខ្មែរ/\0a.txt\0b.txt\0\0"s, {u"/d/ខ្មែរ/a.txt", u"/d/ខ្មែរ/b.txt"}},
      {u"/only/one.txt\0\0"s, {u"/only/one.txt"}},
      {u"/d\0/abs/x.txt\0\\net\\y.txt\0C:\\z.txt\0C:z.txt\0\0"s,
       {u"/abs/x.txt", u"\\net\\y.txt", u"C:\\z.txt", u"/d/C:z.txt"}},
      {u"\0\0"s, {u""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.buffer.begin(), c.buffer.end()));
    DialogOverFakeBuffer dialog(nullptr);
    dialog.SetOptions(dialog.Options() | OpenOption(ofAllowMultiSelect));
    ASSERT_TRUE(dialog.RunWith(c.buffer));
    EXPECT_EQ(Names(dialog.Files()), c.files);
    EXPECT_EQ(dialog.FileName().ToU16(), c.files[0]);
    // The form library's 8-bit list holds the same names in the system code page (UTF-8).
    ASSERT_EQ(dialog.TOpenDialog::Files()->Count(), int(c.files.size()));
    EXPECT_EQ(dialog.TOpenDialog::Files()->Strings(0).ToStd(),
              platform::Utf16ToMultiByte(c.files[0], CP_UTF8));
  }
  // A single choice is the buffer up to its terminator.
  DialogOverFakeBuffer single(nullptr);
  ASSERT_TRUE(single.RunWith(std::u16string(u"/d/ខ្មែរ.txt\0junk\0\0", 18)));
  EXPECT_EQ(Names(single.Files()), std::vector<std::u16string>{u"/d/ខ្មែរ.txt"});
}

TEST_F(UcFileDialogsTest, TheDialogIsShownWithTheWideSettingsAndReturnsTheScriptedFiles) {
  TUcOpenDialog dialog(nullptr);
  dialog.SetFilter(u"អត្ថបទ|*.txt|All|*.*");
  dialog.SetTitle(kKhmer);
  dialog.SetInitialDir(u"/d/ខ្មែរ/");
  dialog.SetFileName(u"ចាស់.txt");
  dialog.SetOptions(dialog.Options() | OpenOption(ofAllowMultiSelect));
  int shown = 0, closed = 0;
  dialog.OnShow = [&](TObject*) { ++shown; };
  dialog.OnClose = [&](TObject*) { ++closed; };
  ModalInfo seen;
  Driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::Files({u"/d/ខ្មែរ/a.txt", u"/d/ខ្មែរ/b.txt"});
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(seen.kind, ModalInfo::Kind::OpenDialog);
  EXPECT_EQ(seen.filter, u"អត្ថបទ|*.txt|All|*.*");
  EXPECT_EQ(seen.title, kKhmer);
  EXPECT_EQ(seen.initialDir, u"/d/ខ្មែរ");
  EXPECT_EQ(seen.fileName, u"ចាស់.txt");
  EXPECT_EQ(Names(dialog.Files()), (std::vector<std::u16string>{u"/d/ខ្មែរ/a.txt", u"/d/ខ្មែរ/b.txt"}));
  EXPECT_EQ(dialog.FileName(), u"/d/ខ្មែរ/a.txt");
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(closed, 1);
  // No filter gives the dialog none; cancel keeps the name.
  dialog.SetFilter(u"");
  Driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::Cancel();
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(seen.filter, u"");
  EXPECT_EQ(dialog.FileName(), u"/d/ខ្មែរ/a.txt");

  // The save dialog runs the system's save dialog, which adds the default extension.
  TUcSaveDialog save(nullptr);
  save.SetDefaultExt(u"ឯកសារ");
  Driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::Files({u"/tmp/សារ"});
  });
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(seen.kind, ModalInfo::Kind::SaveDialog);
  EXPECT_EQ(save.FileName(), u"/tmp/សារ.ឯកសារ");
  EXPECT_FALSE(save.Options() & OpenOption(ofExtensionDifferent));
}

TEST_F(UcFileDialogsTest, TheInitialFolderLosesOneTrailingDelimiterButNotARoots) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"/", u"/"},       {u"/a/b/", u"/a/b"},    {u"/a/b//", u"/a/b/"},
      {u"C:\\", u"C:\\"}, {u"C:\\a\\", u"C:\\a"}, {u"/ខ្មែរ", u"/ខ្មែរ"},
      {u"", u""},
  };
  for (const auto& [set, expected] : cases) {
    TUcOpenDialog dialog(nullptr);
    dialog.SetInitialDir(set);
    EXPECT_EQ(dialog.InitialDir().ToU16(), expected) << std::string(set.begin(), set.end());
    EXPECT_EQ(dialog.TOpenDialog::InitialDir().ToStd(), platform::Utf16ToMultiByte(expected, CP_UTF8));
  }
}

TEST_F(UcFileDialogsTest, TheFileNameIsReadFromTheOpenDialogInOnCanClose) {
  // A path longer than the room of the first question: it is asked again with the room needed.
  const std::u16string longPath = u"/d/" + std::u16string(300, u'ខ') + u"/file.txt";
  const std::u16string shortPath = u"/d/ខ្មែរ/refused.txt";
  for (const bool narrow : {false, true}) {
    SCOPED_TRACE(narrow ? "8-bit system" : "UTF-16 system");
    std::optional<NarrowScope> scope;
    if (narrow) scope.emplace();
    TUcOpenDialog dialog(nullptr);
    dialog.SetFileName(u"preset.txt");
    std::vector<std::u16string> seenInCanClose;
    std::vector<std::vector<std::u16string>> filesInCanClose;
    dialog.OnCanClose = [&](TObject*, bool& canClose) {
      EXPECT_TRUE(dialog.Handle() && IsWindow(dialog.Handle()));
      seenInCanClose.push_back(dialog.FileName().ToU16());
      filesInCanClose.push_back(Names(dialog.Files()));
      canClose = seenInCanClose.size() == 2;
    };
    int asked = 0;
    Driver().OnModal(
        [&](const ModalInfo&) { return ModalAnswer::Files({++asked == 1 ? shortPath : longPath}); });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(seenInCanClose, (std::vector<std::u16string>{shortPath, longPath}));
    EXPECT_EQ(filesInCanClose, (std::vector<std::vector<std::u16string>>{{shortPath}, {longPath}}));
    EXPECT_EQ(dialog.FileName(), longPath);
    EXPECT_EQ(Names(dialog.Files()), std::vector<std::u16string>{longPath});
    EXPECT_EQ(dialog.Handle(), nullptr);
  }
}

}  // namespace
