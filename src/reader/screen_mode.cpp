#include "reader/screen_mode.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/text.h"

namespace quillon {

namespace {

// From the smallest to the largest, so that of two modes covering as much, the later wins.
constexpr std::array<std::pair<int, int>, 4> kModes{
    {{1024, 768}, {1366, 768}, {1440, 900}, {1280, 1024}}};

}  // namespace

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

double LargestScale(const ScreenFit& mode, double width, double height) {
  return std::min(width / mode.Width, height / mode.Height);
}

bool FitsAtScale(const ScreenFit& mode, double scale, double width, double height) {
  return mode.Width * scale <= width + 0.5 && mode.Height * scale <= height + 0.5;
}

std::optional<ScreenFit> FitScreen(double width, double height, int forcedWidth, int forcedHeight) {
  std::optional<ScreenFit> best;
  double bestArea = 0;
  for (const auto& [modeWidth, modeHeight] : kModes) {
    if (forcedWidth != 0 && (modeWidth != forcedWidth || modeHeight != forcedHeight)) continue;
    if (modeWidth > width || modeHeight > height) continue;
    ScreenFit fit{modeWidth, modeHeight, 1.0};
    fit.Scale = LargestScale(fit, width, height);  // exactly 1 on the mode's own screen
    const double area = modeWidth * fit.Scale * modeHeight * fit.Scale;
    if (!best || area >= bestArea * (1 - 1e-9)) {
      best = fit;
      bestArea = area;
    }
  }
  return best;
}

}  // namespace quillon
