#include "tests/editor/CommandFixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "mms/MmsDecoder.h"
#include "mms/MmsEncoder.h"
#include "mms/MmsTrace.h"
#include "mms/TK3VNMms.h"
#include "mms/TMmsBody.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/Utf8.h"

namespace editortest {

using platform::win::ModalAnswer;
using platform::win::ModalInfo;

bool ShownModal::Says(const std::u16string& text) const {
  for (const std::u16string& t : texts) {
    if (t == text) return true;
  }
  return false;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Noise(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(count, 0);
  for (char& c : bytes) c = char(random() & 0xFF);
  if (count) bytes[0] = 'N';  // neither "BM" nor a JFIF or GIF head
  return bytes;
}

void CommandTest::SetUp() {
  EditorTest::SetUp();
  MmsSetTrace(false);
  AnswerModals(nullptr);
  ASSERT_TRUE(Start());
  main = frmMain;
}

void CommandTest::AnswerModals(std::function<ModalAnswer(const ModalInfo&)> answer) {
  platform::headless::Driver().OnModal([this, answer](const ModalInfo& info) {
    ShownModal seen{info.kind, info.className, info.title, info.filter, info.texts};
    seen.texts.push_back(info.caption);
    shown.push_back(seen);
    if (answer) return answer(info);
    return info.kind == ModalInfo::Kind::Form ? ModalAnswer::Result(1) : ModalAnswer::Cancel();
  });
}

void CommandTest::ChooseFile(const std::string& file) {
  AnswerModals([file](const ModalInfo& info) {
    if (info.kind != ModalInfo::Kind::OpenDialog) return ModalAnswer::Result(1);
    if (file.empty()) return ModalAnswer::Cancel();
    return ModalAnswer::Files({platform::Utf8ToUtf16(file)});
  });
}

void CommandTest::Pages(int count) {
  while (main->Mms()->Body->GetFrameCount() < count) main->NewFrame();
  main->Document().SetCurrentPage(0);
}

std::string CommandTest::Put(int index, int type, const std::string& name, const std::string* bytes) {
  static const char* const folders[] = {"TXT", "Image", "Audio"};
  const std::string path = app.path() + "/tmp/" + folders[type] + "/" + name;
  if (bytes) std::ofstream(path, std::ios::binary) << *bytes;
  main->Mms()->SetFrameItemFromFile(index, type, path);
  return path;
}

int CommandTest::EncodedSize() {
  main->BuildMms();
  int count = 0;
  if (unsigned char* bytes = MmsEncodeMessage(&count)) std::free(bytes);
  return count;
}

std::vector<EncodedPart> CommandTest::EncodedParts() {
  std::vector<EncodedPart> parts;
  main->BuildMms();
  int count = 0;
  unsigned char* bytes = MmsEncodeMessage(&count);
  if (!bytes) return parts;
  tMMS_RetrieveConf* record = MmsDecodeHeaders(bytes, count);
  if (record) {
    tMMS_Body* body = MmsDecodeMultipart(record->Body.data(), int(record->Body.size()));
    if (body) {
      if (body->Smil)
        parts.push_back({body->Smil->ContentType, std::string(body->Smil->Data, body->Smil->Len)});
      for (tMMS_Part* p = body->Parts; p; p = p->Next) {
        parts.push_back(
            {p->ContentType ? p->ContentType : "", std::string(reinterpret_cast<char*>(p->Data), p->Len)});
      }
      MmsFreeDecodedBody(body);
    }
    MmsPduFree(record, MMS_PDU_RETRIEVE_CONF);
  }
  std::free(bytes);
  return parts;
}

std::string CommandTest::Caption(TLabel* label) const { return label->Caption().c_str(); }

}  // namespace editortest
