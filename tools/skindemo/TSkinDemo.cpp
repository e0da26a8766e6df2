// The skin demo's handlers; its layout names its pictures, compiled in from resources/skin/demo.
#include "TSkinDemo.h"

#include "platform/forms/ClassRegistry.h"
#include "platform/gdi/Gdi.h"

void RegisterSkinDemoPictures();  // generated from the layout and resources/skin/demo

namespace {

// The long text of the rich edits: enough lines to need their scroll bars.
const char* const kRichText[] = {
    "A multimedia message is a slide show: each page holds a picture, a text and a sound.",
    "The editor lays the pages out, resizes the pictures to what the phone accepts, and",
    "keeps the whole message under the size the network allows.",
    "These bordered edits show the three frames of the validating edit around a rich edit.",
    "Their scroll bars are the normal ones and the two styles of flat bars.",
    "Scroll down to read on; the text wraps at the edit's width.",
    "Last line."};

template <class T>
T* Find(TComponent* owner, const char* name) {
  return dynamic_cast<T*>(owner->FindComponent(name));
}

}  // namespace

void TSkinDemo::FormCreate(TObject*) {
  PictureButton = Find<TImButton>(this, "PictureButton");
  VietButton = Find<TImButton>(this, "VietButton");
  KhmerButton = Find<TImButton>(this, "KhmerButton");
  Status = Find<TLabel>(this, "Status");
  ImagePanel = Find<TImPanel>(this, "ImagePanel");
  IntEdit = Find<TValidateEdit>(this, "IntEdit");
  Link = Find<TQvUrlLabel>(this, "Link");
  Track1 = Find<TSkTrackBar>(this, "Track1");
  DemoMenu = Find<TPopupMenu>(this, "DemoMenu");
  MenuSkin = Find<TSkMenuController>(this, "MenuSkin");

  for (const char* name : {"NormalRich", "FlatRich", "UltraRich"}) {
    TStrings* lines = Find<TQvRichEdit>(this, name)->Lines();
    for (const char* line : kRichText) lines->Add(line);
  }
  SetPopupMenu(DemoMenu);
  if (MenuSkin) MenuSkin->TakeOverMenus();
}

void TSkinDemo::Say(const std::string& text) {
  if (Status) Status->SetCaption(AnsiString(text));
}

void TSkinDemo::ButtonClick(TObject* sender) {
  if (auto* c = dynamic_cast<TComponent*>(sender)) Say("Click: " + c->Name().ToStd());
}

void TSkinDemo::StripOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int&) {
  // Vietnamese and Khmer: the captions need the Unicode drawing of the platform's text layer.
  const WideString text = sender == KhmerButton
                              ? WideString(u"\u1797\u17B6\u179F\u17B6\u1781\u17D2\u1798\u17C2\u179A")
                              : WideString(u"Ti\u1EBFng Vi\u1EC7t");
  RECT r = rect;
  if (status & ibsPushed) OffsetRect(&r, 1, 1);
  SetBkMode(canvas->Handle(), TRANSPARENT);
  SetTextColor(canvas->Handle(), (status & ibsHot) ? 0x000060 : 0x402000);
  DrawTextW(canvas->Handle(), text.c_bstr(), text.Length(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TSkinDemo::TrackChange(TObject* sender) {
  if (auto* bar = dynamic_cast<TSkTrackBar*>(sender))
    Say(bar->Name().ToStd() + ": " + std::to_string(bar->Position()));
}

void TSkinDemo::ImageStatusChanged(TObject* sender, int newStatus, int) {
  if (auto* c = dynamic_cast<TComponent*>(sender); c && (newStatus & imsSelected))
    Say("Selected: " + c->Name().ToStd());
}

void RegisterSkinDemo() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterSkinDemoPictures();  // the layout and the pictures
  RegisterImButton();
  RegisterImImage();
  RegisterImPanel();
  RegisterQvBackImage();
  RegisterQvRichEdit();
  RegisterUrlLabel();
  RegisterSkMenuController();
  RegisterSkTrackBar();
  RegisterTarnelPanel();
  RegisterValidateEdit();
  RegisterProperties<TSkinDemo>("TSkinDemo", "TForm", Factory<TSkinDemo>())
      .Handler("FormCreate", &TSkinDemo::FormCreate)
      .Handler("ButtonClick", &TSkinDemo::ButtonClick)
      .Handler("StripOwnerDraw", &TSkinDemo::StripOwnerDraw)
      .Handler("TrackChange", &TSkinDemo::TrackChange)
      .Handler("ImageStatusChanged", &TSkinDemo::ImageStatusChanged);
}
