#include "records/book_encodings.h"

#include "platform/files.h"
#include "records/book_choices.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

const std::pair<BookEncoding, const char16_t*> kNames[] = {{BookEncoding::Gb18030, u"GB18030"},
                                                           {BookEncoding::Big5, u"Big5"},
                                                           {BookEncoding::Utf8, u"UTF-8"},
                                                           {BookEncoding::Utf16LE, u"UTF-16LE"},
                                                           {BookEncoding::Utf16BE, u"UTF-16BE"}};

bool IsEncodingName(std::u16string_view name) {
  return EncodingNamed(name).has_value();
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
  const std::optional<std::u16string> name = BookChoice(fileBytes, path, IsEncodingName);
  return name ? EncodingNamed(*name) : std::nullopt;
}

std::string WithChosenEncoding(std::string_view fileBytes, const std::u16string& path,
                               std::optional<BookEncoding> encoding) {
  return WithBookChoice(
      fileBytes, path,
      encoding ? std::optional<std::u16string>(EncodingName(*encoding)) : std::nullopt,
      IsEncodingName);
}

}  // namespace quillon
