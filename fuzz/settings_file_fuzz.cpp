// Any bytes as the settings file: reading never fails, and what is read is written as one well-
// formed line that reads back to the same line.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/reader_settings.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const SettingsRecord read = ParseSettingsFile(bytes);
  const std::string written = SettingsFileBytes(read);
  if (written.size() < 2 || written.compare(written.size() - 2, 2, "\r\n") != 0 ||
      written.find_first_of("\r\n") != written.size() - 2) {
    std::abort();
  }
  // The first write may round a size to seven digits; from then on nothing changes.
  const SettingsRecord again = ParseSettingsFile(written);
  if (SettingsFileBytes(again) != written || again.FontName != read.FontName ||
      again.BackColor != read.BackColor || again.ReadMode != read.ReadMode) {
    std::abort();
  }
  return 0;
}
