// The form kit's event rules, which the windows rely on: code that sets a value raises the same
// event as the user, arrays load elements that look like element 0, and the backend hears about
// every control that appears after it started showing a form.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/kit.h"
#include "support/fake_platform.h"

namespace quillon {
namespace {

struct RecordingObserver : ui::ControlObserver {
  std::vector<std::string> log;
  void Changed(ui::Control& control, ui::Prop) override {
    log.push_back("changed " + control.QualifiedName());
  }
  void ChildAdded(ui::Control& parent, ui::Control& child) override {
    // A backend looks at the kind of control it is told about: it must be fully built by now.
    const bool isLabel = dynamic_cast<ui::Label*>(&child) != nullptr;
    log.push_back("added " + child.QualifiedName() + " to " + parent.QualifiedName() +
                  (isLabel ? " as label" : " as something else"));
  }
  void Destroyed(ui::Control& control) override {
    log.push_back("destroyed " + control.QualifiedName());
  }
  void FocusRequested(ui::Control&) override {}
  void BringToFrontRequested(ui::Control&) override {}
};

class KitTest : public ::testing::Test {
 protected:
  KitTest() { form.SetClientSize(9000, 9000); }
  fake::FakePlatform fake;
  ui::Form form{fake.platform, "frmTest"};
};

TEST_F(KitTest, ValuesSetByCodeRaiseTheUsersEventsOnlyWhenTheyChange) {
  ui::CheckBox check{&form, "chk"};
  ui::HScrollBar bar{&form, "bar"};
  ui::CommandButton button{&form, "cmd"};
  int checkClicks = 0, barChanges = 0, buttonClicks = 0;
  check.onClick = [&] { ++checkClicks; };
  bar.onChange = [&] { ++barChanges; };
  button.onClick = [&] { ++buttonClicks; };

  check.Value = ui::CheckBox::Checked;
  check.Value = ui::CheckBox::Checked;
  EXPECT_EQ(checkClicks, 1);

  bar.Max = 255;
  bar.Value = 128;
  bar.Value = 128;
  EXPECT_EQ(barChanges, 1);
  bar.Value = 300;  // clamped to the range, one Change
  EXPECT_EQ(bar.Value, 255);
  EXPECT_EQ(barChanges, 2);

  // Pressing a button from code always runs its Click, and the button is up again afterwards.
  button.Value = true;
  button.Value = true;
  EXPECT_EQ(buttonClicks, 2);
  EXPECT_FALSE(button.Value);
}

TEST_F(KitTest, OptionButtonsInOneContainerExcludeEachOther) {
  ui::PictureBox group{&form, "Picture1"};
  ui::ControlArray<ui::OptionButton> options{group, "optReadMode", {0, 1, 2}};
  ui::OptionButton elsewhere{&form, "optOther"};
  std::vector<int> clicks;
  options.SetWiring([&](ui::OptionButton& option) {
    option.onClick = [&clicks, index = option.Index()] { clicks.push_back(index); };
  });
  elsewhere.Value = true;

  options[1].Value = true;
  options[2].Value = true;
  EXPECT_FALSE(options[1].Value);
  EXPECT_TRUE(options[2].Value);
  EXPECT_TRUE(elsewhere.Value) << "another container is another group";
  EXPECT_EQ(clicks, (std::vector<int>{1, 2})) << "only the button turned on raises Click";
}

TEST_F(KitTest, ComboBoxPicksRaiseClickAndTypingRaisesOnlyChange) {
  ui::ComboBox combo{&form, "cboFontSize"};
  combo.Move(120, 120, 2000, 300);
  for (const char16_t* name : {u"小四(12磅)", u"五号(10.5磅)"}) combo.AddItem(name);
  int clicks = 0, changes = 0;
  combo.onClick = [&] { ++clicks; };
  combo.onChange = [&] { ++changes; };

  combo.ListIndex = 1;
  EXPECT_EQ(combo.Text, u"五号(10.5磅)");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(changes, 0);

  combo.Pick(1);  // the same entry picked again is still a choice
  EXPECT_EQ(clicks, 2);

  combo.Text = u"五号";
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(combo.ListIndex, -1);

  combo.Text = u"小四(12磅)";  // text that names an entry selects it, without a Click
  EXPECT_EQ(combo.ListIndex, 0);
  EXPECT_EQ(clicks, 2);
}

TEST_F(KitTest, ArrayElementsLoadedAtRunTimeCopyElementZeroAndStartHidden) {
  ui::PictureBox surface{&form, "MainPage"};
  surface.Move(0, 705, 8820, 9000);
  ui::ControlArray<ui::Label> rows{surface, "lblRow1", {0}};
  rows[0].Move(30, 120, 8820, 360);
  rows[0].Font.Assign({u"黑体", 14.0f, true, false, false});
  rows[0].ForeColor = ui::RGB(80, 80, 80);
  rows[0].BackStyle = ui::BackStyle::Transparent;
  std::vector<int> moved;
  rows.SetWiring([&](ui::Label& row) {
    row.onMouseMove = [&moved, index = row.Index()](ui::MouseButton, int, int, int) {
      moved.push_back(index);
    };
  });

  ui::Label& row = rows.Load(3);
  EXPECT_FALSE(row.Visible);
  EXPECT_EQ(row.Font.Value(), rows[0].Font.Value());
  EXPECT_EQ(row.ForeColor, ui::RGB(80, 80, 80));
  EXPECT_EQ(row.BackStyle, ui::BackStyle::Transparent);
  EXPECT_EQ(row.Width, 8820);
  EXPECT_EQ(row.Height, 360);
  EXPECT_EQ(rows.UBound(), 3);
  EXPECT_EQ(row.Parent(), &surface);

  row.MouseMove(ui::MouseButton::None, 0, 0, 0);
  EXPECT_TRUE(moved.empty()) << "a hidden element hears nothing";
  row.Visible = true;
  row.MouseMove(ui::MouseButton::None, 0, 0, 0);
  EXPECT_EQ(moved, std::vector<int>{3}) << "loaded elements share the array's handlers";

  rows.Unload(3);
  rows.Unload(0);  // a design element stays
  EXPECT_EQ(rows.UBound(), 0);
  EXPECT_EQ(surface.Children().size(), 1u);
}

TEST_F(KitTest, TheBackendHearsOfControlsLoadedWhileItShowsTheForm) {
  ui::PictureBox surface{&form, "MainPage"};
  ui::ControlArray<ui::Label> rows{surface, "lblRow1", {0}};
  RecordingObserver observer;
  form.AttachObserver(&observer);

  rows.Load(1);
  rows[1].Caption = u"x";
  rows.Unload(1);
  form.AttachObserver(nullptr);

  EXPECT_EQ(observer.log.front(), "added lblRow1(1) to MainPage as label");
  EXPECT_NE(std::find(observer.log.begin(), observer.log.end(), "changed lblRow1(1)"),
            observer.log.end());
  EXPECT_EQ(observer.log.back(), "destroyed lblRow1(1)");
}

TEST_F(KitTest, TimersTickOnlyWhileEnabled) {
  ui::Timer timer{&form, "tmrPage", 20};
  int ticks = 0;
  timer.onTimer = [&] {
    if (++ticks == 2) timer.Enabled = false;
  };
  timer.Tick();
  EXPECT_EQ(ticks, 0);
  timer.Enabled = true;
  for (int i = 0; i < 5; ++i) timer.Tick();
  EXPECT_EQ(ticks, 2);
}

TEST_F(KitTest, ToolbarStandsAlongTheTopAndIgnoresSeparatorsAndDisabledButtons) {
  ui::Toolbar toolbar{&form, "Toolbar"};
  toolbar.Height = 705;
  toolbar.AddButton(u"主页", u"回到阅读器首页", 1);
  toolbar.AddSeparator();
  toolbar.AddButton(u"跳转", u"跳转到本书任何页码", 7);
  std::vector<int> clicked;
  toolbar.onButtonClick = [&](ui::ToolbarButton& button) { clicked.push_back(button.Index()); };

  form.Width = 8820;
  EXPECT_EQ(toolbar.Width, 8730);
  EXPECT_EQ(toolbar.Top, 0);

  toolbar.ButtonClick(2);
  toolbar.Buttons(3).Enabled = false;
  toolbar.ButtonClick(3);
  toolbar.ButtonClick(1);
  toolbar.ButtonClick(9);
  toolbar.Visible = false;
  toolbar.ButtonClick(1);
  EXPECT_EQ(clicked, std::vector<int>{1});
}

// Only what the user can see and use takes input; code that sets a value still raises its event.
TEST_F(KitTest, InputReachesOnlyControlsTheUserCanSeeAndUse) {
  form.Width = 8820;  // an inside 8730 wide, as the reader's
  ui::PictureBox surface{&form, "MainPage"};
  ui::Label row{&surface, "lblRow1"};
  ui::CommandButton button{&form, "cmdNext"};
  int keys = 0, clicks = 0;
  surface.onKeyDown = [&](int, int) { ++keys; };
  row.onClick = [&] { ++clicks; };
  button.onClick = [&] { ++clicks; };
  struct Case {
    const char* state;
    std::function<void()> set;
    bool takes;
  };
  const Case cases[] = {
      {"in view", [] {}, true},
      {"parked beside the window", [&] { surface.Left = 8820; }, false},
      {"parked on the left", [&] { surface.Left = -8820; }, false},
      {"half slid in", [&] { surface.Left = 4000; }, true},
      {"below the window", [&] { surface.Top = 9000; }, false},
      {"hidden", [&] { surface.Visible = false; }, false},
      {"disabled", [&] { surface.Enabled = false; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    surface.Move(0, 705, 8820, 8000);
    surface.Visible = true;
    surface.Enabled = true;
    row.Move(30, 120, 8820, 360);
    c.set();
    keys = clicks = 0;
    surface.KeyDown(ui::keys::Right, 0);
    row.Click();
    EXPECT_EQ(keys, c.takes ? 1 : 0);
    EXPECT_EQ(clicks, c.takes ? 1 : 0) << "a label on the surface goes with it";
  }
  clicks = 0;
  button.Visible = false;
  button.Click();
  EXPECT_EQ(clicks, 0);
  button.Value = true;
  EXPECT_EQ(clicks, 1) << "code runs a hidden button's Click";
}

TEST_F(KitTest, FormsLoadOnceCentreThemselvesAndReportUnloading) {
  int loads = 0;
  form.onLoad = [&] { ++loads; };
  form.StartUpPosition = ui::StartUpPosition::CenterScreen;
  form.SetClientSize(5985, 7110);
  EXPECT_EQ(form.ScaleWidth(), 5985);
  EXPECT_EQ(form.ScaleHeight(), 7110);

  form.Show();
  form.Show();
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(form.Left, (15360 - form.Width) / 2);
  EXPECT_EQ(form.Top, (11520 - form.Height) / 2);
  EXPECT_EQ(fake.forms.shown.size(), 2u);

  form.Unload();
  EXPECT_FALSE(form.IsLoaded());
  ASSERT_EQ(fake.forms.unloaded.size(), 1u);
}

TEST_F(KitTest, AFormWhoseLoadEndsTheProgramIsNeverShown) {
  form.onLoad = [&] { fake.program.End(); };
  form.Show();
  EXPECT_TRUE(fake.forms.shown.empty());
}

TEST_F(KitTest, CommonDialogKeepsTheLastColourWhenCancelled) {
  ui::CommonDialog dialog(fake.dialogs);
  dialog.ShowColor();
  EXPECT_EQ(dialog.Color, 0) << "black before any choice";
  fake.dialogs.colorAnswers = {ui::RGB(1, 2, 3), std::nullopt};
  dialog.ShowColor();
  dialog.ShowColor();
  EXPECT_EQ(dialog.Color, ui::RGB(1, 2, 3));

  dialog.FileName = u"/old.txt";
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName, u"") << "a cancelled open dialog gives no name";
}

}  // namespace
}  // namespace quillon
