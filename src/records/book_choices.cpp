#include "records/book_choices.h"

#include <vector>

#include "platform/codepage.h"
#include "platform/itemfile.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

// Old choices go once there are this many; nobody reads a thousand books that way.
constexpr std::size_t kKeptChoices = 1000;

struct Choice {
  std::u16string Path;
  std::u16string Value;
};

std::vector<Choice> ReadChoices(std::string_view bytes, const ChoiceCheck& valid) {
  std::vector<Choice> choices;
  const std::u16string text = codepage::DecodeGb18030(bytes);
  itemfile::ItemReader reader(text);
  while (!reader.AtEnd()) {
    const itemfile::Item path = reader.Next();
    if (!path.Quoted || reader.AtEnd()) continue;  // a damaged line is dropped, not fatal
    itemfile::Item value = reader.Next();
    if (valid(value.Text) && !path.Text.empty() && IsStorablePath(path.Text)) {
      choices.push_back({path.Text, std::move(value.Text)});
    }
  }
  return choices;
}

}  // namespace

std::optional<std::u16string> BookChoice(std::string_view fileBytes, const std::u16string& path,
                                         const ChoiceCheck& valid) {
  for (Choice& choice : ReadChoices(fileBytes, valid)) {
    if (choice.Path == path) return std::move(choice.Value);
  }
  return std::nullopt;
}

std::string WithBookChoice(std::string_view fileBytes, const std::u16string& path,
                           const std::optional<std::u16string>& value, const ChoiceCheck& valid) {
  std::vector<Choice> choices;
  if (value && IsStorablePath(path)) choices.push_back({path, *value});
  for (Choice& choice : ReadChoices(fileBytes, valid)) {
    if (choice.Path != path && choices.size() < kKeptChoices) choices.push_back(std::move(choice));
  }
  itemfile::ItemWriter writer;
  for (const Choice& choice : choices) {
    writer.WriteString(choice.Path);
    writer.WriteString(choice.Value);
    writer.EndLine();
  }
  return codepage::EncodeGb18030(writer.Text());
}

}  // namespace quillon
