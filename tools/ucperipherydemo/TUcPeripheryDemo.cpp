// The Unicode controls demo's captions and handlers.
#include "TUcPeripheryDemo.h"

#include "platform/forms/ClassRegistry.h"
#include "unicode/WideCanvasText.h"

namespace {

// The captions are UTF-16 texts no 8-bit code page holds, so the form sets them, not its layout.
const char16_t* const kBanner =
    u"\u178F\u17B6\u179A\u17B6\u1784\u1794\u1789\u17D2\u1787\u17B6 \u2014 B\u1EA3ng \u0111i\u1EC1u "
    u"khi\u1EC3n";
const char16_t* const kTitle =
    u"\u1797\u17B6\u179F\u17B6\u1781\u17D2\u1798\u17C2\u179A / Ti\u1EBFng Vi\u1EC7t";
const char16_t* const kOk = u"&\u1799\u179B\u17CB\u1796\u17D2\u179A\u1798";
const char16_t* const kCancel = u"&H\u1EE7y b\u1ECF";
const char16_t* const kRemember = u"&Ghi nh\u1EDB l\u1EF1a ch\u1ECDn";
const char16_t* const kChoices = u"\u1787\u1798\u17D2\u179A\u17be\u179F";
const char16_t* const kFirst = u"\u1791\u17B8\u1798\u17BD\u1799";
const char16_t* const kSecond = u"Th\u1EE9 hai";
const char16_t* const kLanguages = u"Ng\u00F4n ng\u1EEF";
const char16_t* const kItems[] = {u"\u1781\u17D2\u1798\u17C2\u179A", u"Ti\u1EBFng Vi\u1EC7t",
                                  u"\u1780\u1798\u17D2\u1796\u17BB\u1787\u17B6", u"H\u00E0 N\u1ED9i",
                                  u"\u1797\u17D2\u1793\u17C6\u1796\u17C1\u1789"};

template <class T>
T* Find(TComponent* root, const char* name) {
  return dynamic_cast<T*>(root->FindComponent(name));
}

}  // namespace

void TUcPeripheryDemo::Note(const char* what, TObject* sender) {
  auto* component = dynamic_cast<TComponent*>(sender);
  Events.push_back(std::string(what) + " " + (component ? component->Name().ToStd() : std::string("?")));
}

void TUcPeripheryDemo::FormCreate(TObject*) {
  Banner = Find<TUcPanel>(this, "Banner");
  Title = Find<TUcStaticText>(this, "Title");
  OkButton = Find<TUcButton>(this, "OkButton");
  CancelButton = Find<TUcButton>(this, "CancelButton");
  Remember = Find<TUcCheckBox>(this, "Remember");
  Choices = Find<TUcGroupBox>(this, "Choices");
  First = Find<TUcRadioButton>(this, "First");
  Second = Find<TUcRadioButton>(this, "Second");
  Languages = Find<TUcRadioGroup>(this, "Languages");
  Marks = Find<TUcPaintBox>(this, "Marks");
  Level = Find<TUcScrollBar>(this, "Level");
  Places = Find<TUcComboBox>(this, "Places");
  Cities = Find<TUcListBox>(this, "Cities");
  SetCaption(kTitle);
  Banner->SetCaption(kBanner);
  Title->SetCaption(kTitle);
  OkButton->SetCaption(kOk);
  CancelButton->SetCaption(kCancel);
  Remember->SetCaption(kRemember);
  Choices->SetCaption(kChoices);
  First->SetCaption(kFirst);
  Second->SetCaption(kSecond);
  Languages->SetCaption(kLanguages);
  Languages->Items()->BeginUpdate();
  for (const char16_t* item : kItems) Languages->Items()->Add(item);
  Languages->Items()->EndUpdate();
  Languages->SetItemIndex(0);
  Languages->OnClick = [this](TObject* s) { LanguagesClick(s); };
  OkButton->OnClick = [this](TObject* s) { ButtonClick(s); };
  CancelButton->OnClick = [this](TObject* s) { ButtonClick(s); };
  Level->SetHint(kTitle);
  for (const char16_t* item : kItems) Places->Items()->Add(item);
  Places->SetItemIndex(0);
  Places->OnSelect = [this](TObject* s) { PlacesSelect(s); };
  for (const char16_t* item : {kItems[3], kItems[4], kItems[2]}) Cities->Items()->Add(item);
  Cities->SetItemIndex(1);
}

void TUcPeripheryDemo::MarksPaint(TObject*) {
  TCanvas* canvas = Marks->Canvas();
  canvas->Brush()->SetColor(clWhite);
  RECT r = Marks->ClientRect();
  canvas->FillRect(r);
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetStyle(bsClear);
  WideCanvasTextOut(canvas, 6, 4, kItems[0]);
  WideCanvasTextOut(canvas, 6, 30, kItems[1]);
}

void TUcPeripheryDemo::LanguagesClick(TObject* sender) { Note("LanguagesClick", sender); }

void TUcPeripheryDemo::ButtonClick(TObject* sender) { Note("ButtonClick", sender); }

void TUcPeripheryDemo::PlacesSelect(TObject* sender) { Note("PlacesSelect", sender); }

void RegisterUcPeripheryDemo() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterProperties<TUcPeripheryDemo>("TUcPeripheryDemo", "TUcForm", Factory<TUcPeripheryDemo>())
      .Handler("FormCreate", &TUcPeripheryDemo::FormCreate)
      .Handler("MarksPaint", &TUcPeripheryDemo::MarksPaint);
}
