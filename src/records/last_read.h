#pragma once
// The last-read record "Bookmark/Lastread.dat": the path of the book left last and its page.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

struct LastRead {
  std::u16string Path;
  std::int32_t Page = 0;
};

std::u16string LastReadFilePath(const std::u16string& programDirectory);
std::string LastReadFileBytes(const LastRead& record);
// nullopt for a file that does not read as a quoted path and a page number.
std::optional<LastRead> ParseLastReadFile(std::string_view bytes);

}  // namespace quillon
