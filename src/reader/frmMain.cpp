#include "reader/frmMain.h"

#include "about/frmAbout.h"
#include "platform/files.h"
#include "platform/text.h"

namespace quillon {

namespace {

constexpr ui::Color kCoverText = ui::RGB(64, 64, 64);
constexpr int kToolbarHeight = 705;

}  // namespace

frmMain::frmMain(Platform& platform, mPubVariable& pub)
    : ui::Form(platform, "frmMain"), cdlg(platform.dialogs), platform_(platform), pub_(pub) {
  Caption = u"Quillon";
  Width = 8820;
  Height = 11070;
  BackColor = ui::RGB(246, 241, 230);
  Icon = LoadDataPicture(u"Icosource/Quillon.png");
  DesignCover();
  DesignSurfaces();
  DesignToolbar();
  onLoad = [this] { Form_Load(); };
  onQueryUnload = [this] { Form_QueryUnload(); };
  onDropFiles = [this](const std::vector<std::u16string>& paths) { Form_DropFiles(paths); };
  lblOpen.onClick = [this] { lblOpen_Click(); };
  lblLastRead.onClick = [this] { lblLastRead_Click(); };
  lblHistory.onClick = [this] { lblHistory_Click(); };
  lblSet.onClick = [this] { lblSet_Click(); };
  lblHelp.onClick = [this] { lblHelp_Click(); };
  lblExit.onClick = [this] { lblExit_Click(); };
  onMouseMove = [this](ui::MouseButton, int, int, int) { Form_MouseMove(); };
  for (ui::Label* label : {&lblOpen, &lblLastRead, &lblHistory, &lblSet, &lblExit, &lblHelp}) {
    label->onMouseMove = [this, label](ui::MouseButton, int, int, int) {
      CoverLabel_MouseMove(*label);
    };
  }
  tmrTime.onTimer = [this] { tmrTime_Timer(); };
  tmrPage.onTimer = [this] { tmrPage_Timer(); };
  tmrScrollScr.onTimer = [this] { tmrScrollScr_Timer(); };
  tmrSpeech.onTimer = [this] { tmrSpeech_Timer(); };
  if (platform.speech != nullptr) {
    platform.speech->onSaid = [this] { Speech_Said(); };
    platform.speech->onFailed = [this](const std::u16string& why) { Speech_Failed(why); };
  }
  cmdBack.onClick = [this] { cmdBack_Click(); };
  cmdNext.onClick = [this] { cmdNext_Click(); };
  cmdScrollScreen.onClick = [this] { ToggleScrollScreen(); };
  Toolbar.onButtonClick = [this](ui::ToolbarButton& button) { Toolbar_ButtonClick(button); };
  for (int surface = 0; surface <= 1; ++surface) {
    (surface == 0 ? lblRow1 : lblRow2).SetWiring([this, surface](ui::Label& row) {
      row.onMouseMove = [this, surface, index = row.Index()](ui::MouseButton, int, int, int) {
        lblRow_MouseMove(surface, index);
      };
      row.onMouseUp = [this](ui::MouseButton button, int, int, int) { Page_MouseUp(button); };
    });
  }
  MainPage.SetWiring([this](ui::PictureBox& surface) {
    surface.onMouseUp = [this](ui::MouseButton button, int, int, int) { Page_MouseUp(button); };
    surface.onKeyDown = [this, index = surface.Index()](int keyCode, int shift) {
      MainPage_KeyDown(index, keyCode, shift);
    };
    surface.onKeyPress = [this, index = surface.Index()](int keyAscii) {
      MainPage_KeyPress(index, keyAscii);
    };
  });
}

frmMain::~frmMain() {
  // The service outlives the window; what it says later is no one's.
  if (platform_.speech != nullptr) {
    platform_.speech->Stop();
    platform_.speech->onSaid = nullptr;
    platform_.speech->onFailed = nullptr;
  }
}

void frmMain::DesignCover() {
  lblName.Move(870, 810, 4005, 1185);
  lblName.Caption = u"Quillon";
  lblName.Font.Assign({u"Times New Roman", 48.0f, true, true, false});
  lblName.ForeColor = kCoverText;
  lblName.BackStyle = ui::BackStyle::Transparent;

  struct MenuEntry {
    ui::Label& label;
    const char16_t* caption;
    int top;
  };
  const MenuEntry menu[] = {{lblOpen, u"打开书目", 3510},
                            {lblLastRead, u"上次阅读", 4290},
                            {lblHistory, u"历史阅读", 5070},
                            {lblSet, u"系统设置", 5850},
                            {lblExit, u"合上书本", 6660}};
  for (const MenuEntry& entry : menu) {
    entry.label.Move(0, entry.top, 4035, 555);
    entry.label.Caption = entry.caption;
    entry.label.Font.Assign({u"方正舒体", 21.75f, false, false, false});
    entry.label.ForeColor = kCoverText;
    entry.label.BackStyle = ui::BackStyle::Transparent;
    entry.label.Alignment = ui::Alignment::Center;
  }

  lblHelp.Move(0, 0, 4035, 375);
  lblHelp.Caption = u"关于Quillon";
  lblHelp.Font.Assign({u"方正舒体", 15.75f, true, false, false});
  lblHelp.ForeColor = kCoverText;
  lblHelp.BackStyle = ui::BackStyle::Transparent;
  lblHelp.Alignment = ui::Alignment::Right;
}

void frmMain::DesignSurfaces() {
  struct Surface {
    ui::PictureBox& page;
    ui::ControlArray<ui::Label>& rows;
    ui::Label& info;
  };
  for (const Surface& surface :
       {Surface{MainPage[0], lblRow1, lblInfor1}, Surface{MainPage[1], lblRow2, lblInfor2}}) {
    surface.page.BorderStyle = ui::BorderStyle::None;
    surface.page.BackColor = ui::RGB(255, 255, 255);
    ui::Label& firstRow = surface.rows[0];
    firstRow.Move(30, 120, 8820, 360);
    firstRow.BackStyle = ui::BackStyle::Transparent;
    firstRow.WordWrap = false;
    surface.info.Move(0, 0, 8820, 225);
    surface.info.Visible = false;
    surface.info.Font.Assign({u"宋体", 9.0f, false, false, false});
    surface.info.ForeColor = ui::RGB(64, 64, 64);
    surface.info.BackColor = ui::RGB(236, 233, 216);
    surface.info.WordWrap = false;
  }

  for (ui::CommandButton* button : {&cmdBack, &cmdNext, &cmdScrollScreen}) {
    button->Move(0, 0, 1095, 375);
    button->Visible = false;
  }
  cmdBack.Caption = u"back";
  cmdNext.Caption = u"next";
  cmdScrollScreen.Caption = u"scroll";
}

void frmMain::DesignToolbar() {
  for (int number = 1; number <= 8; ++number) {
    ImageList.Add(LoadDataPicture(u"Icosource/tool" + DecimalText(number) + u".png"));
  }
  Toolbar.Images = &ImageList;
  Toolbar.Height = kToolbarHeight;
  Toolbar.Visible = false;
  Toolbar.AddButton(u"主页", u"回到阅读器首页", 1);
  Toolbar.AddButton(u"设置", u"设置阅读器相关参数", 2);
  Toolbar.AddButton(u"滚屏", u"开始/停止滚屏操作", 3);
  Toolbar.AddButton(u"全屏阅读", u"全屏/普通阅读模式切换", 4);
  Toolbar.AddSeparator();
  Toolbar.AddButton(u"上一页", u"翻到上一页", 5);
  Toolbar.AddButton(u"下一页", u"翻到下一页", 6);
  Toolbar.AddSeparator();
  Toolbar.AddButton(u"跳转", u"跳转到本书任何页码", 7);
  Toolbar.AddSeparator();
  Toolbar.AddButton(u"退出阅读", u"退出阅读并保存当前阅读进度", 8);
  Toolbar.AddSeparator();

  PicPage.Move(7050, 30, 1605, 675);
  PicPage.BackColor = ui::RGB(250, 250, 247);
  shpBar.Move(30, 150, 15, 225);
  shpBar.BackStyle = ui::BackStyle::Opaque;
  shpBar.BackColor = ui::RGB(86, 132, 190);
  shpBar.BorderStyle = ui::BorderStyle::None;
  shpPanel.Move(30, 150, 1545, 225);
  shpPanel.BorderColor = ui::RGB(128, 128, 128);
  lblPage.Move(30, 405, 1545, 225);
  lblPage.Caption = u"页面 1000/[1000]";
  lblPage.Font.Assign({u"宋体", 9.0f, false, false, false});
  lblPage.BackStyle = ui::BackStyle::Transparent;
  lblPage.Alignment = ui::Alignment::Center;
}

ui::PicturePtr frmMain::LoadDataPicture(const std::u16string& relativePath) {
  return platform_.pictures.Load(
      files::JoinPath(platform_.program.ShippedDirectory(), relativePath));
}

void frmMain::Form_Load() {
  for (const char16_t* folder : {u"Configure", u"Bookmark"}) {
    files::RemoveLeftoverTemporaries(files::JoinPath(platform_.program.Directory(), folder));
  }
  ReadStart = platform_.clock.Now();
  tmrTime.Interval = 1000;
  tmrTime.Enabled = true;
  if (!SetupScreen() || !openOnLoad_) return;
  openingOnLoad_ = true;
  openedOnLoad_ = OpenBook(*openOnLoad_);
  openingOnLoad_ = false;
}

}  // namespace quillon
