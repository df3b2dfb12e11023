#pragma once
// Choices a user made for a book (the encoding it is read in, the script it is shown in), each kind
// in a file of its own beside the records, so the last-read and history files stay as they always
// were: one line a book, "path","value" (GB18030, CR LF), the latest choice first.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The values a file may hold; a line with any other is damaged, skipped and dropped.
using ChoiceCheck = std::function<bool(std::u16string_view value)>;

std::optional<std::u16string> BookChoice(std::string_view fileBytes, const std::u16string& path,
                                         const ChoiceCheck& valid);
// The file with the book's choice first, or without it for nullopt.
std::string WithBookChoice(std::string_view fileBytes, const std::u16string& path,
                           const std::optional<std::u16string>& value, const ChoiceCheck& valid);

}  // namespace quillon
