#pragma once
// A window. Its Left, Top, Width and Height are the outer frame in twips, as the classic runtime
// has them; the controls stand in its inside, ScaleWidth x ScaleHeight.

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/ui/control.h"
#include "platform/ui/menu.h"

namespace quillon::ui {

enum class StartUpPosition { Manual, CenterScreen };
enum class FormBorder { Sizable, FixedSingle, FixedDialog };

class Form : public Control {
 public:
  // The frame around the inside: a border on every side and a caption bar on top.
  static constexpr int kBorderTwips = 45;
  static constexpr int kCaptionTwips = 405;

  Form(Platform& platform, std::string name);

  Property<std::u16string> Caption{this, Prop::Caption};
  Property<PicturePtr> Picture{this, Prop::Picture};
  Property<Color> BackColor{this, Prop::BackColor, kColorButtonFace};
  Property<PicturePtr> Icon{this, Prop::Icon};
  Property<ui::MousePointer> MousePointer{this, Prop::MousePointer, ui::MousePointer::Default};
  Property<PicturePtr> MouseIcon{this, Prop::MousePointer};
  FormBorder BorderStyle = FormBorder::FixedSingle;
  ui::StartUpPosition StartUpPosition = ui::StartUpPosition::Manual;
  // The control that has the keyboard when the form is shown, as the classic tab index 0 does;
  // a control cannot take the focus before its form is shown.
  Control* FirstFocus = nullptr;

  int ScaleWidth() const { return Width - 2 * kBorderTwips; }
  int ScaleHeight() const { return Height - kCaptionTwips - 2 * kBorderTwips; }
  void SetClientSize(int width, int height);

  // Loads the form on first use (its Load event runs), then shows it. Nothing is shown when the
  // Load event ended the program or unloaded the form.
  void Show();
  // Shows the form and returns only once it has been unloaded.
  void ShowModal();
  void Unload();
  // The user closes the window by its frame (or the desktop closes it): QueryUnload is raised,
  // then the form unloads.
  void CloseFromFrame();
  void PopupMenu(const Menu& menu);

  bool IsLoaded() const { return loaded_; }
  Platform& platform() { return platform_; }

  std::function<void()> onLoad;
  std::function<void()> onQueryUnload;
  // Files dropped on the window, in the order the desktop gives them; a form that sets it
  // accepts drops.
  std::function<void(const std::vector<std::u16string>& paths)> onDropFiles;

 protected:
  void OnPropertyChanged(Prop id) override;

 private:
  bool Load();
  void PlaceAtStart();
  void FitAlignedChildren();

  Platform& platform_;
  bool loaded_ = false;
};

}  // namespace quillon::ui
