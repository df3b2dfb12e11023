#include "about/frmAbout.h"

namespace quillon {

const char16_t kAboutDescription[] =
    u"    Quillon 是一款专为 txt 格式文档设计的阅读软件，界面简洁，操作方便，"
    u"适合长时间阅读各类电子书。它把一本书按照固定的行数和字数分页显示，"
    u"让您像翻阅纸质书籍一样轻松地阅读。\r\n"
    u"    本软件的主要功能如下：\r\n"
    u"    1．可以改变字体的颜色、大小，以及是否使用粗体和斜体；\r\n"
    u"    2．可以改变阅读背景的颜色，也可以使用背景图片；\r\n"
    u"    3．提供多种阅读主题，并支持用户自定义主题；\r\n"
    u"    4．支持普通阅读和全屏阅读两种模式；\r\n"
    u"    5．支持自动滚屏阅读（按空格键开始或停止）；\r\n"
    u"    6．退出阅读时自动保存当前的阅读进度，并保留历史阅读记录；\r\n"
    u"    7．支持向上、向下翻页，也可以使用键盘进行翻页；\r\n"
    u"    8．可以跳转到本书的任意页码。\r\n"
    u"    版本说明：Quillon 1.0.0 最初是作者为个人阅读而编写的小工具，"
    u"本版本在其基础上重新编写，功能更加完善，改进了翻页动画和自动滚屏，"
    u"并增加了阅读主题与历史阅读记录。\r\n"
    u"    使用条款：本软件为免费软件，欢迎自由传播，但不得修改、反编译或拆解本软件，"
    u"不得将本软件用于任何违法用途，本软件的一切权利归作者所有。"
    u"如需用于商业目的，请事先与作者联系。\r\n"
    u"    如果您在使用过程中有任何建议或发现任何问题，欢迎通过电子邮件与作者联系，"
    u"我们将不断改进本软件。您的意见是我们前进的动力，谢谢您的支持！";

frmAbout::frmAbout(Platform& platform, ui::PicturePtr icon) : ui::Form(platform, "frmAbout") {
  Caption = u"关于Quillon";
  SetClientSize(4815, 3675);
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  BorderStyle = ui::FormBorder::FixedDialog;
  Icon = std::move(icon);

  lbltitle.Move(270, 210, 3255, 855);
  lbltitle.Caption = u"Quillon";
  lbltitle.Font.Assign({u"方正舒体", 36.0f, true, false, true});
  lbltitle.ForeColor = ui::kColorActiveTitleBar;
  lbltitle.BackStyle = ui::BackStyle::Transparent;

  lblVersion.Move(3540, 750, 1095, 195);
  lblVersion.Caption = u"版本: 2.0.0";
  lblVersion.Font.Assign({u"Arial", 10.5f, true, false, false});
  lblVersion.ForeColor = ui::RGB(0, 64, 0);
  lblVersion.BackStyle = ui::BackStyle::Transparent;
  lblVersion.WordWrap = false;

  Label1.Move(300, 1260, 3315, 225);
  Label1.Caption = u"本软件为免费软件，版权归作者所有。";
  Label1.BackStyle = ui::BackStyle::Transparent;

  txtTX.Move(270, 1680, 4245, 1125);
  txtTX.MultiLine = true;
  txtTX.VerticalScrollBar = true;
  txtTX.Locked = true;
  txtTX.BackColor = ui::RGB(255, 255, 255);
  txtTX.Text = kAboutDescription;

  lblAuthor.Move(270, 3060, 1545, 195);
  lblAuthor.Caption = u"作者：墨川";
  lblAuthor.BackStyle = ui::BackStyle::Transparent;
  lblAuthor.WordWrap = false;

  lblEmail.Move(300, 3360, 2235, 195);
  lblEmail.Caption = u"联系：mail@example.org";
  lblEmail.Font.Assign({u"宋体", 9.0f, false, false, true});
  lblEmail.ForeColor = ui::RGB(0, 0, 255);
  lblEmail.BackStyle = ui::BackStyle::Transparent;
  lblEmail.WordWrap = false;

  cmdOK.Move(2790, 3090, 1665, 435);
  cmdOK.Caption = u"确定(&O)";
  cmdOK.onClick = [this] { cmdOK_Click(); };
}

void frmAbout::cmdOK_Click() {
  Unload();
}

}  // namespace quillon
