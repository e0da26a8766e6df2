// Property streaming: layouts read into components, written back, and read again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TColor.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TMemoryStream.h"

namespace {

enum TSide { sdLeft, sdRight, sdBoth };
const std::vector<std::string> kSideNames{"sdLeft", "sdRight", "sdBoth"};

class TStyleInfo : public TPersistent {
 public:
  AnsiString Face = "sans-serif";
  int Size = 8;
};

// A component with values of each kind, a sub-object, a reference, an event, and two
// properties of its own through DefineProperties.
class TGadget : public TComponent {
 public:
  explicit TGadget(TComponent* owner) : TComponent(owner) {}
  int Width = 10;
  bool Shown = true;
  TSide Side = sdLeft;
  unsigned Options = 0;
  TColor Color = clBtnFace;
  AnsiString Caption;
  WideString Text;
  TStyleInfo Style;
  TGadget* Buddy = nullptr;
  TNotifyEvent OnPoke;
  // Kept through DefineProperties: a list of numbers and raw bytes.
  std::vector<int> Points;
  std::vector<std::uint8_t> Blob;
  std::vector<std::string>* LoadLog = nullptr;

  void DefineProperties(TFiler* filer) override {
    filer->DefineProperty(
        "Points",
        [this](TReader* r) {
          r->ReadListBegin();
          while (!r->EndOfList()) Points.push_back(r->ReadInteger());
          r->ReadListEnd();
        },
        [this](TWriter* w) {
          w->WriteListBegin();
          for (int p : Points) w->WriteInteger(p);
          w->WriteListEnd();
        },
        !Points.empty());
    filer->DefineBinaryProperty(
        "Blob",
        [this](TStream* s) {
          Blob.resize(static_cast<std::size_t>(s->Size()));
          if (!Blob.empty()) s->ReadBuffer(Blob.data(), static_cast<int>(Blob.size()));
        },
        [this](TStream* s) { s->WriteBuffer(Blob.data(), static_cast<int>(Blob.size())); }, !Blob.empty());
  }
  void Loaded() override {
    TComponent::Loaded();
    if (Owner()) {
      if (auto* form = dynamic_cast<TGadget*>(Owner()); form && form->LoadLog)
        form->LoadLog->push_back(Name().ToStd());
    }
  }
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return parent_; }
  void SetParentComponent(TComponent* p) override { parent_ = p == Owner() ? nullptr : p; }
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override {
    for (int i = 0; i < root->ComponentCount(); ++i) {
      auto* g = dynamic_cast<TGadget*>(root->Components(i));
      if (g && g->GetParentComponent() == (this == root ? nullptr : this)) proc(g);
    }
  }

 private:
  TComponent* parent_ = nullptr;
};

class TGadgetForm : public TGadget {
 public:
  explicit TGadgetForm(TComponent* owner) : TGadget(owner) {}
  std::vector<TObject*> pokes;
  void GadgetPoke(TObject* sender) { pokes.push_back(sender); }
};

void RegisterGadgets() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterProperties<TStyleInfo>("TStyleInfo", "")
      .Str(
          "Face", [](TStyleInfo& s) { return s.Face; }, [](TStyleInfo& s, AnsiString v) { s.Face = v; },
          AnsiString("sans-serif"))
      .Int(
          "Size", [](TStyleInfo& s) { return s.Size; }, [](TStyleInfo& s, int v) { s.Size = v; }, 8);
  static const std::vector<std::string> optionNames{"goOne", "goTwo", "goThree"};
  RegisterProperties<TGadget>("TGadget", "", Factory<TGadget>())
      .Int(
          "Width", [](TGadget& g) { return g.Width; }, [](TGadget& g, int v) { g.Width = v; }, 10)
      .Bool(
          "Shown", [](TGadget& g) { return g.Shown; }, [](TGadget& g, bool v) { g.Shown = v; }, true)
      .Enum(
          "Side", [](TGadget& g) { return g.Side; }, [](TGadget& g, TSide v) { g.Side = v; }, sdLeft,
          &kSideNames)
      .Set(
          "Options", [](TGadget& g) { return g.Options; }, [](TGadget& g, unsigned v) { g.Options = v; }, 0,
          &optionNames)
      .Color(
          "Color", [](TGadget& g) { return g.Color; }, [](TGadget& g, TColor v) { g.Color = v; }, clBtnFace)
      .Str(
          "Caption", [](TGadget& g) { return g.Caption; }, [](TGadget& g, AnsiString v) { g.Caption = v; })
      .WStr(
          "Text", [](TGadget& g) { return g.Text; }, [](TGadget& g, WideString v) { g.Text = v; })
      .Object("Style", [](TGadget& g) { return &g.Style; })
      .Component<TGadget>(
          "Buddy", [](TGadget& g) { return g.Buddy; }, [](TGadget& g, TGadget* v) { g.Buddy = v; })
      .Event("OnPoke", &TGadget::OnPoke);
  RegisterProperties<TGadgetForm>("TGadgetForm", "TGadget", Factory<TGadgetForm>())
      .Handler("GadgetPoke", &TGadgetForm::GadgetPoke);
}

const char* kLayout = R"(object Form: TGadgetForm
  Caption = 'Main'
  object First: TGadget
    Width = 42
    Shown = False
    Side = sdBoth
    Options = [goOne, goThree]
    Color = clRed
    Caption = 'It''s ' + 'fine'#13#10'next'
    Text = 'Tiếng Việt ភាសាខ្មែរ 😀'
    Style.Face = 'Khmer OS'
    Style.Size = 12
    Buddy = Second
    Points = (
      1
      -2
      $10)
    Blob = {00FF10}
    OnPoke = GadgetPoke
    object Inner: TGadget
      Width = 5
    end
  end
  object Second: TGadget
    Color = 255
  end
end
)";

TEST(Streaming, ReadsEveryKindOfValueIntoTheComponents) {
  RegisterGadgets();
  TGadgetForm form(nullptr);
  std::vector<std::string> loaded;
  form.LoadLog = &loaded;
  ReadComponentText(&form, kLayout);

  auto* first = dynamic_cast<TGadget*>(form.FindComponent("First"));
  auto* second = dynamic_cast<TGadget*>(form.FindComponent("second"));
  auto* inner = dynamic_cast<TGadget*>(form.FindComponent("Inner"));
  ASSERT_TRUE(first && second && inner);
  EXPECT_EQ(form.Name(), "Form");
  EXPECT_EQ(form.Caption, "Main");
  EXPECT_EQ(first->Width, 42);
  EXPECT_FALSE(first->Shown);
  EXPECT_EQ(first->Side, sdBoth);
  EXPECT_EQ(first->Options, 5u);
  EXPECT_EQ(first->Color, clRed);
  EXPECT_EQ(first->Caption, "It's fine\r\nnext");
  EXPECT_EQ(first->Text, WideString(u"Tiếng Việt ភាសាខ្មែរ 😀"));
  EXPECT_EQ(first->Style.Face, "Khmer OS");
  EXPECT_EQ(first->Style.Size, 12);
  EXPECT_EQ(first->Buddy, second);  // a reference to a component written later
  EXPECT_EQ(first->Points, (std::vector<int>{1, -2, 16}));
  EXPECT_EQ(first->Blob, (std::vector<std::uint8_t>{0x00, 0xFF, 0x10}));
  EXPECT_EQ(second->Color, 255);
  EXPECT_EQ(inner->GetParentComponent(), first);
  // Loaded runs in creation order once everything is read, with csLoading cleared.
  EXPECT_EQ(loaded, (std::vector<std::string>{"First", "Inner", "Second"}));
  EXPECT_EQ(first->ComponentState() & (csLoading | csReading), 0u);

  ASSERT_TRUE(first->OnPoke);
  first->OnPoke(first);
  ASSERT_EQ(form.pokes.size(), 1u);
  EXPECT_EQ(form.pokes[0], first);
}

TEST(Streaming, WritingAndReadingAgainGivesTheSameLayout) {
  RegisterGadgets();
  TGadgetForm form(nullptr);
  ReadComponentText(&form, kLayout);
  std::string written = WriteComponentText(&form);

  // Defaults are left out; defined properties come after the values, events last.
  EXPECT_EQ(written.find("Shown = True"), std::string::npos);
  EXPECT_LT(written.find("Blob = {00FF10}"), written.find("OnPoke = GadgetPoke"));
  EXPECT_LT(written.find("Style.Size = 12"), written.find("Points = ("));

  TGadgetForm again(nullptr);
  ReadComponentText(&again, written);
  EXPECT_EQ(WriteComponentText(&again), written);
  auto* first = dynamic_cast<TGadget*>(again.FindComponent("First"));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Text, WideString(u"Tiếng Việt ភាសាខ្មែរ 😀"));
  EXPECT_EQ(first->Caption, "It's fine\r\nnext");
  EXPECT_EQ(first->Points, (std::vector<int>{1, -2, 16}));
  EXPECT_EQ(first->Buddy, again.FindComponent("Second"));
}

TEST(Streaming, BadLayoutsRaiseReadErrorsAndLeaveNothingHalfBuilt) {
  RegisterGadgets();
  struct Case {
    const char* text;
    const char* message;  // part of the message
  };
  const Case cases[] = {
      {"object F: TGadgetForm\n  Bogus = 1\nend\n", "Unknown property Bogus"},
      {"object F: TGadgetForm\n  object G: TGadget\n    Width = 'x'\n  end\nend\n", "Invalid property value"},
      {"object F: TGadgetForm\n  Side = sdNowhere\nend\n", "Invalid property value"},
      {"object F: TGadgetForm\n  object G: TNothing\n  end\nend\n", "Class TNothing is not registered"},
      {"object F: TGadgetForm\n  Caption = 'open\nend\n", "unterminated string"},
      {"object F: TGadgetForm\n  Width = 1\n", "'end' expected"},
      {"object F: TGadgetForm\nend\nextra", "text after the last 'end'"},
      {"object F: TGadgetForm\n  Blob = {ABC}\nend\n", "odd number"},
      {"object F: TGadgetForm\n  Buddy = Nobody\nend\n", "Invalid property value"},
      {"object F: TGadgetForm\n  OnPoke = NoSuchHandler\nend\n", "NoSuchHandler"},
      {"object F: TGadgetForm\n  Points = 5\nend\n", "Invalid property value"},
      {"object F: TGadgetForm\n  Width = 99999999999999999999\nend\n", "too large"},
  };
  for (const Case& c : cases) {
    TGadgetForm form(nullptr);
    try {
      ReadComponentText(&form, c.text);
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const EReadError& e) {
      EXPECT_NE(std::string(e.Message.c_str()).find(c.message), std::string::npos) << e.Message.c_str();
    } catch (const EClassNotFound& e) {
      EXPECT_NE(std::string(e.Message.c_str()).find(c.message), std::string::npos) << e.Message.c_str();
    }
    EXPECT_EQ(form.ComponentState() & (csLoading | csReading), 0u) << c.text;
  }
  // The component whose properties failed is gone; the form owns nothing half-read.
  TGadgetForm form(nullptr);
  EXPECT_THROW(ReadComponentText(&form, cases[1].text), EReadError);
  EXPECT_EQ(form.ComponentCount(), 0);
}

// A read that fails deep inside a component: the failed component goes with what it held, and
// everything that stays (the root, an inherited component the layout changed, a sibling read
// before) is out of the loading state and was never told it loaded.
TEST(Streaming, AReadThatFailsMidComponentLeavesNothingLoading) {
  RegisterGadgets();
  TGadgetForm form(nullptr);
  std::vector<std::string> log;
  form.LoadLog = &log;
  auto* kept = new TGadget(&form);
  kept->SetName("Kept");
  const char* text =
      "object F: TGadgetForm\n"
      "  inherited Kept: TGadget\n    Width = 7\n  end\n"
      "  object Good: TGadget\n    Width = 3\n  end\n"
      "  object Bad: TGadget\n    Width = 5\n    object Inner: TGadget\n      Width = 'x'\n    end\n  end\n"
      "end\n";
  EXPECT_THROW(ReadComponentText(&form, text), EReadError);
  ASSERT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(form.FindComponent("Bad"), nullptr);
  EXPECT_EQ(form.FindComponent("Inner"), nullptr);
  auto* good = dynamic_cast<TGadget*>(form.FindComponent("Good"));
  ASSERT_NE(good, nullptr);
  EXPECT_EQ(good->Width, 3);
  EXPECT_EQ(kept->Width, 7);
  for (TComponent* c :
       {static_cast<TComponent*>(&form), static_cast<TComponent*>(kept), static_cast<TComponent*>(good)})
    EXPECT_EQ(c->ComponentState() & (csLoading | csReading), 0u) << c->Name().ToStd();
  EXPECT_TRUE(log.empty());
}

TEST(Streaming, DeepNestingIsRefusedInsteadOfExhaustingTheStack) {
  RegisterGadgets();
  std::string text = "object F: TGadgetForm\n  Points = ";
  text += std::string(100000, '(');
  text += "\nend\n";
  TGadgetForm form(nullptr);
  EXPECT_THROW(ReadComponentText(&form, text), EReadError);
}

}  // namespace
