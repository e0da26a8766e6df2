#include "platform/forms/TWindowAction.h"

#include <algorithm>

#include "platform/forms/ComponentReference.h"
#include "platform/forms/TScreen.h"
#include "platform/win/Win.h"

namespace {

bool IsTopLevelForm(TCustomForm* form) { return form && !form->Parent(); }

// The forms that are iconic, in the screen's order.
std::vector<TCustomForm*> IconicForms() {
  std::vector<TCustomForm*> forms;
  if (!Screen) return forms;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (IsTopLevelForm(f) && f->HandleAllocated() && IsIconic(f->Handle())) forms.push_back(f);
  }
  return forms;
}

}  // namespace

void TWindowAction::SetForm(TCustomForm* value) { SetComponentReference(this, form_, value); }

TCustomForm* TWindowAction::GetForm(TObject* target) const { return dynamic_cast<TCustomForm*>(target); }

bool TWindowAction::HandlesTarget(TObject* target) {
  TCustomForm* form = GetForm(target);
  return IsTopLevelForm(form) && (!form_ || form == form_);
}

void TWindowAction::UpdateTarget(TObject* /*target*/) { SetEnabled(!ShownForms().empty()); }

std::vector<TCustomForm*> TWindowAction::ShownForms() {
  std::vector<TCustomForm*> forms;
  if (!Screen) return forms;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (IsTopLevelForm(f) && f->HandleAllocated() && f->Showing()) forms.push_back(f);
  }
  return forms;
}

void TWindowAction::Notification(TComponent* component, TOperation operation) {
  TAction::Notification(component, operation);
  if (operation == opRemove && component == form_) form_ = nullptr;
}

void TWindowClose::ExecuteTarget(TObject* target) { GetForm(target)->Close(); }

void TWindowCascade::ExecuteTarget(TObject* /*target*/) {
  const RECT area = Screen->WorkAreaRect();
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYDLGFRAME);
  int x = area.left, y = area.top;
  for (TCustomForm* f : ShownForms()) {
    // A form keeps its size as far as the work area holds it; the cascade starts over at the
    // corner when the next step would leave the work area.
    const int width = std::min(f->Width(), static_cast<int>(area.right - area.left));
    const int height = std::min(f->Height(), static_cast<int>(area.bottom - area.top));
    if (x + width > area.right || y + height > area.bottom) x = area.left, y = area.top;
    f->SetBounds(x, y, width, height);
    x += step;
    y += step;
  }
}

namespace {

// Splits the work area into equal bands, one per shown form; the last band takes the rest.
void Tile(const std::vector<TCustomForm*>& forms, bool oneAboveTheOther) {
  if (forms.empty()) return;
  const RECT area = Screen->WorkAreaRect();
  const int count = static_cast<int>(forms.size());
  const int total = oneAboveTheOther ? area.bottom - area.top : area.right - area.left;
  const int band = total / count;
  for (int i = 0; i < count; ++i) {
    const int start = i * band;
    const int size = i == count - 1 ? total - start : band;
    if (oneAboveTheOther)
      forms[i]->SetBounds(area.left, area.top + start, area.right - area.left, size);
    else
      forms[i]->SetBounds(area.left + start, area.top, size, area.bottom - area.top);
  }
}

}  // namespace

void TWindowTileHorizontal::ExecuteTarget(TObject* /*target*/) { Tile(ShownForms(), true); }

void TWindowTileVertical::ExecuteTarget(TObject* /*target*/) { Tile(ShownForms(), false); }

void TWindowMinimizeAll::ExecuteTarget(TObject* /*target*/) {
  for (TCustomForm* f : ShownForms()) ShowWindow(f->Handle(), SW_MINIMIZE);
}

void TWindowArrange::UpdateTarget(TObject* /*target*/) { SetEnabled(!IconicForms().empty()); }

void TWindowArrange::ExecuteTarget(TObject* /*target*/) {
  // Along the bottom of the work area, left to right, each at its minimized size.
  const RECT area = Screen->WorkAreaRect();
  int x = area.left;
  for (TCustomForm* f : IconicForms()) {
    RECT r{};
    GetWindowRect(f->Handle(), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(f->Handle(), nullptr, x, area.bottom - height, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x += width;
  }
}
