// The Unicode layer's edit on the desktop backend under Xvfb: text typed from outside the
// program in Vietnamese and Khmer arrives as the exact UTF-16 text.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "DesktopForms.h"
#include "DesktopSession.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "unicode/TUcEdit.h"
#include "unicode/UcLayer.h"

namespace {

using desktoptest::PumpUntil;

TEST(UnicodeEditOnTheDesktop, TypedVietnameseAndKhmerArriveExactly) {
  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  unicode::RegisterLayer();
  const std::string folder = desktoptest::StartFormsOnDesktop();
  ASSERT_FALSE(folder.empty());
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBounds(40, 40, 300, 100);
  auto* edit = new TUcEdit(form);
  edit->SetBounds(10, 10, 260, 26);
  edit->SetParent(form);
  form->Show();
  edit->SetFocus();
  const HWND hwnd = form->Handle();
  EXPECT_TRUE(PumpUntil(
      [&] { return platform::desktop::DesktopDraws(hwnd) > 0 && platform::win::QueueIdle(); }, 10000));
  RECT r{};
  GetWindowRect(edit->Handle(), &r);
  const std::string x = std::to_string(r.left + 20), y = std::to_string(r.top + 10);
  EXPECT_EQ(desktoptest::Run({"xdotool", "mousemove", x, y, "click", "1", "type", "--delay", "40",
                              "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t \xE1\x9E\x80"},
                             15000),
            0);
  const WideString expected(u"Ti\u1EBFng Vi\u1EC7t \u1780");
  EXPECT_TRUE(PumpUntil([&] { return edit->Text() == expected; }, 20000));
  EXPECT_EQ(edit->Text().ToU16(), expected.ToU16());
  EXPECT_TRUE(desktoptest::StopFormsOnDesktop(folder));
  platform::AddLayer("unicode", nullptr, nullptr);
}

}  // namespace
