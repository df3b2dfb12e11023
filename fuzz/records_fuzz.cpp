// Any bytes as the history file and as the last-read file: reading never fails, the history is
// always written as 20 well-formed lines that read back the same, the history window shows each
// progress as 0.0% to 100.0%, and a last-read record that reads at all survives a save.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "records/last_read.h"
#include "records/reading_history.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  mPubVariable pub;
  ParseHistoryFile(bytes, pub);
  const std::string written = HistoryFileBytes(pub);
  if (std::count(written.begin(), written.end(), '\n') != kHistorySize) std::abort();
  mPubVariable again;
  ParseHistoryFile(written, again);
  if (again.ReadRecordPath != pub.ReadRecordPath || again.ReadRecordDate != pub.ReadRecordDate ||
      HistoryFileBytes(again) != written) {
    std::abort();
  }

  for (float percent : pub.ReadRecordPercent) {
    const std::u16string shown = ProgressText(percent);
    const std::size_t point = shown.find(u'.');
    if (point == std::u16string::npos || point < 1 || point > 3 || shown.back() != u'%' ||
        (point == 3 && shown != u"100.0%") || shown[0] == u'-') {
      std::abort();
    }
  }

  if (const auto record = ParseLastReadFile(bytes)) {
    const auto back = ParseLastReadFile(LastReadFileBytes(*record));
    if (!back || back->Path != record->Path || back->Page != record->Page) std::abort();
  }
  return 0;
}
