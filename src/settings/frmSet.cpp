// The settings dialog's design: four frames of controls in twips, each relative to its frame.

#include "settings/frmSet.h"

#include "reader/frmMain.h"
#include "settings/reading_themes.h"

namespace quillon {

namespace {

const ui::FontSpec kFrameFont{u"宋体", 10.5f, true, false, false};
constexpr ui::Color kFrameText = ui::RGB(0, 0, 255);

// The captions of the red, green and blue scroll bars, in their own colours.
struct ComponentCaption {
  const char16_t* caption;
  ui::Color color;
};
const ComponentCaption kComponentCaptions[3] = {
    {u"红:", ui::RGB(255, 0, 0)}, {u"绿:", ui::RGB(0, 192, 0)}, {u"蓝:", ui::RGB(0, 0, 255)}};

constexpr int kColorMax = 255;
constexpr int kColorLargeChange = 16;

void DesignFrame(ui::Frame& frame, const char16_t* caption, int left, int top, int width,
                 int height) {
  frame.Move(left, top, width, height);
  frame.Caption = caption;
  frame.Font.Assign(kFrameFont);
  frame.ForeColor = kFrameText;
}

void DesignSwatch(ui::Label& swatch, int left, int top) {
  swatch.Move(left, top, 885, 315);
  swatch.BorderStyle = ui::BorderStyle::FixedSingle;
  swatch.BackStyle = ui::BackStyle::Opaque;
}

}  // namespace

frmSet::frmSet(Platform& platform, mPubVariable& pub, frmMain& reader)
    : ui::Form(platform, "frmSet"),
      clgColor(platform.dialogs),
      platform_(platform),
      pub_(pub),
      reader_(reader) {
  Caption = u"Quillon设置";
  SetClientSize(5985, 7110);
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  BorderStyle = ui::FormBorder::FixedDialog;
  Icon = reader.Icon;

  DesignFrame(Frame1, u"阅读字体设置", 90, 120, 5805, 1785);
  DesignFrame(Frame2, u"阅读背景设置", 90, 1980, 5805, 1275);
  DesignFrame(Frame3, u"阅读其他设置", 90, 3330, 5805, 1725);
  DesignFrame(Frame4, u"阅读主题设置", 90, 5130, 5805, 1215);
  DesignFontFrame();
  DesignBackgroundFrame();
  DesignBehaviourFrame();
  DesignThemeFrame();

  cmdOK.Move(3000, 6510, 1275, 465);
  cmdOK.Caption = u"确定(&O)";
  cmdCancel.Move(4560, 6510, 1275, 465);
  cmdCancel.Caption = u"取消(&C)";

  WireEvents();
}

void frmSet::DesignFontFrame() {
  struct ItemCaption {
    int index;
    const char16_t* text;
    int left, top, height;
  };
  for (const ItemCaption& c :
       {ItemCaption{0, u"字体名称:", 120, 360, 315}, ItemCaption{1, u"字体大小:", 2880, 360, 315},
        ItemCaption{2, u"字体颜色:", 2250, 840, 255}}) {
    ui::Label& label = lblItme.Add(c.index, Frame1);
    label.Move(c.left, c.top, 885, c.height);
    label.Caption = c.text;
  }
  cboFontName.Move(1050, 360, 1635, 300);
  cboFontSize.Move(3810, 360, 1845, 300);
  chkFontBold.Move(120, 780, 1125, 315);
  chkFontBold.Caption = u"是否粗体";
  chkFontItil.Move(120, 1230, 1125, 315);
  chkFontItil.Caption = u"是否斜体";
  DesignSwatch(lblFontColor, 2250, 1140);

  DesignColorRows(Frame1, 0, 780);
}

void frmSet::DesignBackgroundFrame() {
  chkUsePhoto.Move(120, 300, 1935, 285);
  chkUsePhoto.Caption = u"是否使用背景图片";
  cboBackPhoto.Move(120, 690, 1995, 300);
  ui::Label& caption = lblItme.Add(3, Frame2);
  caption.Move(2250, 360, 885, 255);
  caption.Caption = u"背景颜色:";
  DesignSwatch(lblBackColor, 2250, 690);

  DesignColorRows(Frame2, 1, 270);
}

void frmSet::DesignColorRows(ui::Frame& frame, int slot, int firstTop) {
  ui::ControlArray<ui::HScrollBar>* const bars[3] = {&HScrollR, &HScrollG, &HScroll1};
  for (int k = 0; k < 3; ++k) {
    const int top = firstTop + 300 * k;
    ui::Label& caption = Label1.Add(3 * slot + k, frame);
    caption.Move(3300, top, 315, 255);
    caption.Caption = kComponentCaptions[k].caption;
    caption.ForeColor = kComponentCaptions[k].color;
    ui::HScrollBar& bar = bars[k]->Add(slot, frame);
    bar.Move(3720, top, 1935, 255);
    bar.Min = 0;
    bar.Max = kColorMax;
    bar.SmallChange = 1;
    bar.LargeChange = kColorLargeChange;
  }
}

void frmSet::DesignBehaviourFrame() {
  chkPageActive.Move(120, 360, 5625, 375);
  chkPageActive.Caption = u"使用[<-]、[PgUp]键进行上翻页，[->]、[PgDn]键进行下翻页。";
  chkNotFlash.Move(120, 810, 2325, 285);
  chkNotFlash.Caption = u"使用滑动翻页动画效果。";
  chkAutoScroll.Move(120, 1230, 3105, 285);
  chkAutoScroll.Caption = u"使用[Space]空格键进行滚屏操作。";
}

void frmSet::DesignThemeFrame() {
  Picture1.Move(105, 240, 5595, 885);
  Picture1.BorderStyle = ui::BorderStyle::None;
  struct Place {
    int left, top, width;
  };
  const Place places[kThemeCount] = {{30, 90, 1425},  {2160, 90, 1365},  {4230, 90, 1455},
                                     {30, 480, 1425}, {2160, 480, 1365}, {4230, 480, 1455}};
  for (int k = 0; k < kThemeCount; ++k) {
    ui::OptionButton& option = optReadMode.Add(k);
    option.Move(places[k].left, places[k].top, places[k].width, 315);
    option.Caption = ThemeCaption(k);
  }
}

void frmSet::WireEvents() {
  onLoad = [this] { Form_Load(); };
  // Closing the dialog by its frame is a cancel.
  onQueryUnload = [this] { RestoreSettings(); };
  cboFontName.onClick = [this] { cboFontName_Click(); };
  cboFontSize.onClick = [this] { cboFontSize_Click(); };
  cboBackPhoto.onClick = [this] { cboBackPhoto_Click(); };
  chkFontBold.onClick = [this] { chkFontBold_Click(); };
  chkFontItil.onClick = [this] { chkFontItil_Click(); };
  chkUsePhoto.onClick = [this] { chkUsePhoto_Click(); };
  chkPageActive.onClick = [this] { chkPageActive_Click(); };
  chkNotFlash.onClick = [this] { chkNotFlash_Click(); };
  chkAutoScroll.onClick = [this] { chkAutoScroll_Click(); };
  HScrollR.SetWiring([this](ui::HScrollBar& bar) {
    bar.onChange = [this, index = bar.Index()] { HScrollR_Change(index); };
  });
  HScrollG.SetWiring([this](ui::HScrollBar& bar) {
    bar.onChange = [this, index = bar.Index()] { HScrollG_Change(index); };
  });
  HScroll1.SetWiring([this](ui::HScrollBar& bar) {
    bar.onChange = [this, index = bar.Index()] { HScroll1_Change(index); };
  });
  lblFontColor.onClick = [this] { lblFontColor_Click(); };
  lblBackColor.onClick = [this] { lblBackColor_Click(); };
  optReadMode.SetWiring([this](ui::OptionButton& option) {
    option.onClick = [this, index = option.Index()] { optReadMode_Click(index); };
  });
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

}  // namespace quillon
