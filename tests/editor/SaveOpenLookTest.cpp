// What the user sees of opening, closing and a failed hand-over, saved as pictures for a person to
// look at: the main window after opening a real message, the close question, and the warning of
// a failed hand-over in each language (with the product's language files).
#include <filesystem>

#include "editor/TResStringManager.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "support/SharedData.h"
#include "tests/editor/CommandFixture.h"

namespace {

using editortest::CommandTest;
using platform::headless::Driver;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

class SaveOpenLook : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  }
  // Every modal window is saved as `name` and then closed with `result`.
  void ShootModals(const std::string& name, int result) {
    Driver().OnModal([name, result](const ModalInfo& info) {
      return ModalAnswer::Drive([name, result, hwnd = info.hwnd] {
        Driver().RunUntilIdle();
        EXPECT_TRUE(Driver().SavePng(hwnd, std::string(MMS_SCREENSHOT_DIR) + "/" + name));
        if (auto* form = dynamic_cast<TCustomForm*>(FindControl(hwnd))) form->ModalResult = result;
      });
    });
  }
};

TEST_F(SaveOpenLook, OpenedMessageCloseQuestionAndSendWarning) {
  main->OpenMmsFile(testsupport::SharedPath("testdata/mms/SonyEricssonT310-R201.mms").c_str());
  Driver().RunUntilIdle();
  EXPECT_EQ(Caption(main->Controls().Label_Time), "2");
  EXPECT_EQ(main->Controls().Edit_Cur->Text().ToStd(), "2");
  EXPECT_TRUE(Driver().SavePng(main->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/main-opened.png"));

  main->Document().SetModified(true);
  ShootModals("close-question.png", 2);
  bool canClose = true;
  main->FormCloseQuery(nullptr, canClose);
  EXPECT_FALSE(canClose);

  const std::string beside = std::string(ExtractFileDir(ParamStr(0)).c_str()) + "/language_editer/";
  const struct {
    int index;
    const char* code;
    const char* file;
  } languages[] = {{1, "en", "lan_ENG.ini"}, {0, "vi", "lan_Vietnamese.ini"}, {2, "km", "lan_Khmer.ini"}};
  for (const auto& language : languages) {
    SCOPED_TRACE(language.code);
    std::filesystem::copy_file(beside + language.file,
                               app.file(std::string("language_editer/") + language.file),
                               std::filesystem::copy_options::overwrite_existing);
    ResStringManager.SelectLanguageFile(language.index);
    ASSERT_FALSE(ResStringManager.GetString("STR_Main_Error_Send").IsEmpty());
    ShootModals(std::string("warn-send-") + language.code + ".png", 2);
    main->SetPeerWnd(nullptr);
    main->btnSendClick(nullptr);
  }
  Driver().OnModal(nullptr);
}

}  // namespace
