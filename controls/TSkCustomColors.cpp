#include "controls/TSkCustomColors.h"

#include <cstdio>
#include <string>

#include "controls/ENoRegIniFile.h"
#include "platform/forms/ClassRegistry.h"

TSkCustomColors::TSkCustomColors(TComponent* owner)
    : TComponent(owner), colors_(std::make_unique<TStringList>()) {
  for (char c = 'A'; c <= 'P'; ++c) colors_->Add(AnsiString(std::string("Color") + c + "=FFFFFF"));
}

TSkCustomColors::~TSkCustomColors() = default;

void TSkCustomColors::SetColors(TStrings* value) {
  colors_->Assign(value);
  Normalise();
}

void TSkCustomColors::SetRegIniFile(TSkRegIniFile* value) {
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = value;
  if (value) value->FreeNotification(this);
}

void TSkCustomColors::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == regIniFile_) regIniFile_ = nullptr;
}

void TSkCustomColors::Normalise() {
  for (int i = 0; i < colors_->Count(); ++i) {
    const AnsiString name = colors_->Names(i);
    if (name.IsEmpty()) continue;
    const std::string value = colors_->Values(name).ToStd();
    char* end = nullptr;
    const unsigned long v = value.empty() ? 0 : std::strtoul(value.c_str(), &end, 16);
    char text[16];
    if (value.empty() || !end || *end != 0)
      std::snprintf(text, sizeof text, "ffffff");
    else
      std::snprintf(text, sizeof text, "%.6lx", v & 0xFFFFFFul);
    colors_->SetValues(name, AnsiString(text));
  }
}

void TSkCustomColors::Load(const AnsiString& section) {
  if (!regIniFile_) throw ENoRegIniFile("Cannot load Custom Colors--No TSkRegIniFile component specified");
  TStringList values;
  regIniFile_->ReadSectionValues(section, &values);
  if (values.Count() > 0) colors_->Assign(&values);
  Normalise();
}

void TSkCustomColors::Save(const AnsiString& section) {
  if (!regIniFile_) throw ENoRegIniFile("Cannot save Custom Colors--No TSkRegIniFile component specified");
  for (int i = 0; i < colors_->Count(); ++i) {
    const AnsiString name = colors_->Names(i);
    if (!name.IsEmpty()) regIniFile_->WriteString(section, name, colors_->Values(name));
  }
}

void RegisterSkCustomColors() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterSkRegIniFile();
  using T = TSkCustomColors;
  RegisterProperties<T>("TSkCustomColors", "TComponent", Factory<T>())
      .Object("Colors", [](T& t) { return static_cast<TPersistent*>(t.Colors()); })
      .Component<TSkRegIniFile>("RegIniFile", &T::RegIniFile, &T::SetRegIniFile);
}
