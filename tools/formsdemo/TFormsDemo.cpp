// The forms demo's handlers.
#include "TFormsDemo.h"

#include "platform/forms/ClassRegistry.h"
#include "platform/rtl/Exceptions.h"

void TFormsDemo::Note(const char* what, TObject* sender) {
  auto* component = dynamic_cast<TComponent*>(sender);
  Events.push_back(std::string(what) + " " + (component ? component->Name().ToStd() : std::string("?")));
}

void TFormsDemo::FormCreate(TObject* sender) {
  Picture = dynamic_cast<TImage*>(FindComponent("Picture"));
  Ticker = dynamic_cast<TTimer*>(FindComponent("Ticker"));
  Title = dynamic_cast<TLabel*>(FindComponent("Title"));
  Dock = dynamic_cast<TPanel*>(FindComponent("Dock"));
  Slider = dynamic_cast<TScrollBar*>(FindComponent("Slider"));
  Pane = new TForm(this);
  Pane->SetName("Pane");
  Pane->SetBorderStyle(bsNone);
  Pane->SetColor(clYellow);
  Pane->OnClick = [this](TObject* s) { PaneClick(s); };
  Pane->SetParent(Dock);
  Pane->SetAlign(alClient);
  Pane->Show();
  Note("FormCreate", sender);
}

void TFormsDemo::FormKeyPress(TObject* sender, char& key) {
  Note("FormKeyPress", sender);
  // "!" shows what becomes of an exception that leaves a handler.
  if (key == '!') throw Exception("The demo was asked to fail");
  if (key == 27) {
    Close();
    return;
  }
  Typed.push_back(key);
}

void TFormsDemo::PictureClick(TObject* sender) {
  Note("PictureClick", sender);
  // Each click swaps between the picture stretched over the box and shown at its own size.
  Picture->SetStretch(!Picture->Stretch());
}

void TFormsDemo::TickerTimer(TObject* sender) {
  ++Ticks;
  if (Ticks == 1) Note("TickerTimer", sender);
}

void TFormsDemo::SliderChange(TObject* sender) { Note("SliderChange", sender); }

void TFormsDemo::PaneClick(TObject* sender) { Note("PaneClick", sender); }

void TFormsDemo::ResetActionExecute(TObject* sender) {
  Note("ResetActionExecute", sender);
  Typed.clear();
  Ticks = 0;
}

void RegisterFormsDemo() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterProperties<TFormsDemo>("TFormsDemo", "TForm", Factory<TFormsDemo>())
      .Handler("FormCreate", &TFormsDemo::FormCreate)
      .Handler("FormKeyPress", &TFormsDemo::FormKeyPress)
      .Handler("PictureClick", &TFormsDemo::PictureClick)
      .Handler("TickerTimer", &TFormsDemo::TickerTimer)
      .Handler("SliderChange", &TFormsDemo::SliderChange)
      .Handler("ResetActionExecute", &TFormsDemo::ResetActionExecute);
}
