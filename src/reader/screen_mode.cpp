#include "reader/screen_mode.h"

#include "platform/text.h"

namespace quillon {

const char16_t kScreenModeRefusal[] =
    u"Quillon目前只支持[1024*768]、[1280*1024]、[1366*768]和[1440*900]四种分辨率模式。"
    u"\r\n\r\n"
    u"如果您需要继续使用本软件，请手动将您的屏幕分辨率调整到以上四种模式的任意一种即可。";

std::u16string ScreenModeOf(int widthPx, int heightPx) {
  return DecimalText(widthPx) + u"*" + DecimalText(heightPx);
}

bool IsSupportedScreenMode(const std::u16string& mode) {
  return mode == u"1024*768" || mode == u"1280*1024" || mode == u"1366*768" || mode == u"1440*900";
}

}  // namespace quillon
