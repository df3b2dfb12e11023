#include "platform/ui/form.h"

#include "platform/ui/controls.h"
#include "platform/ui/menu.h"

namespace quillon::ui {

Form::Form(Platform& platform, std::string name)
    : Control(nullptr, std::move(name)), platform_(platform) {
  Visible.SetQuietly(false);
}

void Form::SetClientSize(int width, int height) {
  Width = width + 2 * kBorderTwips;
  Height = height + kCaptionTwips + 2 * kBorderTwips;
}

bool Form::Load() {
  if (loaded_) return true;
  loaded_ = true;
  if (onLoad) onLoad();
  return loaded_ && !platform_.program.Ended();
}

void Form::PlaceAtStart() {
  if (StartUpPosition != ui::StartUpPosition::CenterScreen) return;
  Left = (platform_.screen.WidthTwips() - Width) / 2;
  Top = (platform_.screen.HeightTwips() - Height) / 2;
}

void Form::Show() {
  const bool wasLoaded = loaded_;
  if (!Load()) return;
  if (!wasLoaded) PlaceAtStart();
  Visible = true;
  platform_.forms.Show(*this);
}

void Form::ShowModal() {
  if (!Load()) return;
  PlaceAtStart();
  Visible = true;
  platform_.forms.RunModal(*this);
}

void Form::Unload() {
  if (!loaded_) return;
  loaded_ = false;
  Visible = false;
  platform_.forms.Unload(*this);
}

void Form::PopupMenu(const Menu& menu) {
  if (loaded_) platform_.forms.PopupMenu(*this, menu);
}

void Form::CloseFromFrame() {
  if (!loaded_) return;
  if (onQueryUnload) onQueryUnload();
  Unload();
}

void Form::OnPropertyChanged(Prop id) {
  if (id == Prop::Geometry) FitAlignedChildren();
}

// A toolbar stands along the top of the form's inside, as wide as it.
void Form::FitAlignedChildren() {
  for (Control* child : Children()) {
    if (auto* toolbar = dynamic_cast<Toolbar*>(child)) {
      toolbar->Left = 0;
      toolbar->Top = 0;
      toolbar->Width = ScaleWidth();
    }
  }
}

}  // namespace quillon::ui
