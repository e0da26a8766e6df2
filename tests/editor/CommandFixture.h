// The main window started headless for its commands: helpers that lay out pages with media
// files in the working folder, encode the message as the commands do, and record the boxes the
// commands show (each answered as the test says).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/TfrmMain.h"
#include "mms/MmsBody.h"
#include "platform/win/Backend.h"
#include "tests/editor/EditorFixture.h"

namespace editortest {

// One box or dialog the command showed: its class and the texts it carried.
struct ShownModal {
  platform::win::ModalInfo::Kind kind;
  std::u16string className, title, filter;
  std::vector<std::u16string> texts;
  bool Says(const std::u16string& text) const;
};

// A part of an encoded message: its content type and bytes.
struct EncodedPart {
  std::string type;
  std::string bytes;
};

class CommandTest : public EditorTest {
 protected:
  void SetUp() override;

  // Answers every modal window with `answer` (by default: OK on boxes, Cancel on dialogs) and
  // records it in `shown`.
  void AnswerModals(std::function<platform::win::ModalAnswer(const platform::win::ModalInfo&)> answer);
  // Answers the open dialog with a file (cancelled when `file` is empty); boxes get OK.
  void ChooseFile(const std::string& file);

  // Gives the document `count` pages (at least one stays) and makes page 0 current.
  void Pages(int count);
  // Puts an item of `type` for the file into page `index` (a file written into the working
  // folder's matching folder when `bytes` is given).
  std::string Put(int index, int type, const std::string& name, const std::string* bytes = nullptr);
  // The message as the commands encode it: BuildMms then the encoder; the byte count.
  int EncodedSize();
  // The parts of the encoded message, SMIL first.
  std::vector<EncodedPart> EncodedParts();
  std::string Caption(TLabel* label) const;

  TfrmMain* main = nullptr;
  std::vector<ShownModal> shown;
};

std::string ReadAll(const std::string& path);
// Noise bytes: incompressible and never a picture signature.
std::string Noise(size_t count, unsigned seed = 1);

}  // namespace editortest
