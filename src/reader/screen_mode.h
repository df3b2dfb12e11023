#pragma once
// The screen resolutions the reader is laid out for, the test that refuses every other one, and
// how a larger screen is filled: one of those layouts drawn larger.

#include <optional>
#include <string>

namespace quillon {

// "1024*768": width first, in plain decimal.
std::u16string ScreenModeOf(int widthPx, int heightPx);
// Exactly "1024*768", "1280*1024", "1366*768" or "1440*900".
bool IsSupportedScreenMode(const std::u16string& mode);

// The refusal shown on any other screen, before the program ends.
extern const char16_t kScreenModeRefusal[];

// A layout the reader has, and the factor it is drawn at to fill the screen.
struct ScreenFit {
  int Width = 0;
  int Height = 0;
  double Scale = 1.0;
};

// The layout for a screen of width x height pixels (as the desktop counts them, after its own
// scaling): the screen's own mode at 1; otherwise, of the modes that fit, the one that covers the
// most of the screen when drawn as large as the screen allows (the larger mode on a tie). Nothing
// when no mode fits. `forcedWidth` x `forcedHeight`, when given, is the only mode considered.
std::optional<ScreenFit> FitScreen(double width, double height, int forcedWidth = 0,
                                   int forcedHeight = 0);

// Whether the mode drawn `scale` times larger stays on a screen of width x height pixels (half a
// pixel of rounding allowed), and the largest such factor.
bool FitsAtScale(const ScreenFit& mode, double scale, double width, double height);
double LargestScale(const ScreenFit& mode, double width, double height);

}  // namespace quillon
