#pragma once
// The look the reader's list windows share (the reading history, the chapter list, the search
// hits): dark text, bold heads over the columns, a small grey line of help under the list.

#include "platform/ui/controls.h"

namespace quillon::ui {

inline constexpr Color kListTextColor = RGB(48, 48, 48);

inline void StyleColumnHead(Label& head, const char16_t* caption) {
  head.Caption = caption;
  head.Font.Assign({u"宋体", 10.5f, true, false, false});
  head.ForeColor = kListTextColor;
  head.BackStyle = BackStyle::Transparent;
}

inline void StyleHelpLine(Label& help) {
  help.Font.Assign({u"宋体", 9.0f, false, false, false});
  help.ForeColor = RGB(96, 96, 96);
  help.BackStyle = BackStyle::Transparent;
  help.WordWrap = false;
}

}  // namespace quillon::ui
