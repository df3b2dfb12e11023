#include "records/book_scripts.h"

#include "platform/files.h"
#include "records/book_choices.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

bool IsScriptName(std::u16string_view name) {
  return ScriptConversionNamed(name).has_value();
}

}  // namespace

std::u16string BookScriptsFilePath(const std::u16string& programDirectory) {
  return files::JoinPath(BookmarkDirectory(programDirectory), u"Scripts.dat");
}

ScriptConversion ChosenScript(std::string_view fileBytes, const std::u16string& path) {
  const std::optional<std::u16string> name = BookChoice(fileBytes, path, IsScriptName);
  return name ? ScriptConversionNamed(*name).value_or(ScriptConversion::None)
              : ScriptConversion::None;
}

std::string WithChosenScript(std::string_view fileBytes, const std::u16string& path,
                             ScriptConversion conversion) {
  return WithBookChoice(fileBytes, path,
                        conversion == ScriptConversion::None
                            ? std::nullopt
                            : std::optional<std::u16string>(ScriptConversionName(conversion)),
                        IsScriptName);
}

}  // namespace quillon
