#pragma once
// The script a user chose to see a book in, kept in "Bookmark/Scripts.dat" as the encodings are:
// "path","t2s" or "path","s2t"; a book without a line is shown as it is written.

#include <string>
#include <string_view>

#include "book/script_convert.h"

namespace quillon {

std::u16string BookScriptsFilePath(const std::u16string& programDirectory);
ScriptConversion ChosenScript(std::string_view fileBytes, const std::u16string& path);
std::string WithChosenScript(std::string_view fileBytes, const std::u16string& path,
                             ScriptConversion conversion);

}  // namespace quillon
