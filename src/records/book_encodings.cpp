#include "records/book_encodings.h"

#include <vector>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/itemfile.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

// Old choices go once there are this many; nobody reads a thousand books in odd encodings.
constexpr std::size_t kKeptChoices = 1000;

const std::pair<BookEncoding, const char16_t*> kNames[] = {{BookEncoding::Gb18030, u"GB18030"},
                                                           {BookEncoding::Big5, u"Big5"},
                                                           {BookEncoding::Utf8, u"UTF-8"},
                                                           {BookEncoding::Utf16LE, u"UTF-16LE"},
                                                           {BookEncoding::Utf16BE, u"UTF-16BE"}};

struct Choice {
  std::u16string Path;
  BookEncoding Encoding;
};

std::vector<Choice> ReadChoices(std::string_view bytes) {
  std::vector<Choice> choices;
  const std::u16string text = codepage::DecodeGb18030(bytes);
  itemfile::ItemReader reader(text);
  while (!reader.AtEnd()) {
    const itemfile::Item path = reader.Next();
    if (!path.Quoted || reader.AtEnd()) continue;  // a damaged line is dropped, not fatal
    const itemfile::Item name = reader.Next();
    const std::optional<BookEncoding> encoding = EncodingNamed(name.Text);
    if (encoding && !path.Text.empty() && IsStorablePath(path.Text)) {
      choices.push_back({path.Text, *encoding});
    }
  }
  return choices;
}

}  // namespace

std::u16string BookEncodingsFilePath(const std::u16string& programDirectory) {
  return files::JoinPath(BookmarkDirectory(programDirectory), u"Encodings.dat");
}

std::u16string EncodingName(BookEncoding encoding) {
  for (const auto& [value, name] : kNames) {
    if (value == encoding) return name;
  }
  return u"GB18030";
}

std::optional<BookEncoding> EncodingNamed(std::u16string_view name) {
  for (const auto& [value, known] : kNames) {
    if (name == known) return value;
  }
  return std::nullopt;
}

std::optional<BookEncoding> ChosenEncoding(std::string_view fileBytes, const std::u16string& path) {
  for (const Choice& choice : ReadChoices(fileBytes)) {
    if (choice.Path == path) return choice.Encoding;
  }
  return std::nullopt;
}

std::string WithChosenEncoding(std::string_view fileBytes, const std::u16string& path,
                               std::optional<BookEncoding> encoding) {
  std::vector<Choice> choices;
  if (encoding && IsStorablePath(path)) choices.push_back({path, *encoding});
  for (Choice& choice : ReadChoices(fileBytes)) {
    if (choice.Path != path && choices.size() < kKeptChoices) choices.push_back(std::move(choice));
  }
  itemfile::ItemWriter writer;
  for (const Choice& choice : choices) {
    writer.WriteString(choice.Path);
    writer.WriteString(EncodingName(choice.Encoding));
    writer.EndLine();
  }
  return codepage::EncodeGb18030(writer.Text());
}

}  // namespace quillon
