#include "settings/reader_settings.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/itemfile.h"

namespace quillon {

bool SettingsRecord::operator==(const SettingsRecord& other) const {
  return FontName == other.FontName && FontSize == other.FontSize && FontColor == other.FontColor &&
         FontBold == other.FontBold && FontItalic == other.FontItalic &&
         BackColor == other.BackColor && UsePhoto == other.UsePhoto &&
         BackPhoto == other.BackPhoto && PageActive == other.PageActive &&
         NotFlash == other.NotFlash && AutoScroll == other.AutoScroll && ReadMode == other.ReadMode;
}

std::int16_t IndentWidthFor(const std::u16string& fontName) {
  static const char16_t* const kLatinFaces[] = {u"MS Sans Serif", u"Arial", u"Roman", u"Tahoma",
                                                u"Times New Roman"};
  for (const char16_t* face : kLatinFaces) {
    if (fontName == face) return 8;
  }
  return 4;
}

std::string SettingsFileBytes(const SettingsRecord& record) {
  itemfile::ItemWriter writer;
  writer.WriteString(record.FontName);
  writer.WriteSingle(record.FontSize);
  writer.WriteInt(record.FontColor);
  writer.WriteBool(record.FontBold);
  writer.WriteBool(record.FontItalic);
  writer.WriteInt(record.BackColor);
  writer.WriteBool(record.UsePhoto);
  writer.WriteInt(record.BackPhoto);
  writer.WriteBool(record.PageActive);
  writer.WriteBool(record.NotFlash);
  writer.WriteBool(record.AutoScroll);
  writer.WriteInt(record.ReadMode);
  writer.EndLine();
  return codepage::EncodeGb18030(writer.Text());
}

namespace {

// A face name is text a person chose from a list: control characters or undecodable bytes mean
// the item is junk, not a name, and a quote could not be written back into the file.
bool IsPlausibleFaceName(const std::u16string& name) {
  if (name.empty() || name.size() > 64) return false;
  return std::none_of(name.begin(), name.end(),
                      [](char16_t c) { return c < u' ' || c == u'\uFFFD' || c == u'"'; });
}

template <class T>
void Take(const std::optional<T>& converted, T& field) {
  if (converted) field = *converted;
}

}  // namespace

SettingsRecord ParseSettingsFile(std::string_view bytes) {
  const std::u16string text = codepage::DecodeGb18030(bytes);
  itemfile::ItemReader reader(text);
  SettingsRecord record;
  auto next = [&reader]() -> std::optional<itemfile::Item> {
    if (reader.AtEnd()) return std::nullopt;
    return reader.Next();
  };
  if (auto item = next(); item && IsPlausibleFaceName(item->Text)) record.FontName = item->Text;
  if (auto item = next()) Take(itemfile::ToSingle(*item), record.FontSize);
  if (auto item = next()) Take(itemfile::ToInt32(*item), record.FontColor);
  if (auto item = next()) Take(itemfile::ToBool(*item), record.FontBold);
  if (auto item = next()) Take(itemfile::ToBool(*item), record.FontItalic);
  if (auto item = next()) Take(itemfile::ToInt32(*item), record.BackColor);
  if (auto item = next()) Take(itemfile::ToBool(*item), record.UsePhoto);
  if (auto item = next()) Take(itemfile::ToInt16(*item), record.BackPhoto);
  if (auto item = next()) Take(itemfile::ToBool(*item), record.PageActive);
  if (auto item = next()) Take(itemfile::ToBool(*item), record.NotFlash);
  if (auto item = next()) Take(itemfile::ToBool(*item), record.AutoScroll);
  if (auto item = next()) Take(itemfile::ToInt16(*item), record.ReadMode);

  // A value the dialog could never have set (a font size of 1E+30, a colour of -1) would make
  // every page unreadable; such a field is read as its default.
  const SettingsRecord defaults;
  const float sizes[] = {18.0f, 16.0f, 14.0f, 12.0f, 10.5f, 9.0f};
  if (std::find(std::begin(sizes), std::end(sizes), record.FontSize) == std::end(sizes)) {
    record.FontSize = defaults.FontSize;
  }
  const auto isColour = [](std::int32_t colour) { return colour >= 0 && colour <= 0xFFFFFF; };
  if (!isColour(record.FontColor)) record.FontColor = defaults.FontColor;
  if (!isColour(record.BackColor)) record.BackColor = defaults.BackColor;
  if (record.BackPhoto < 0 || record.BackPhoto > 6) record.BackPhoto = defaults.BackPhoto;
  if (record.ReadMode < 0 || record.ReadMode > 5) record.ReadMode = defaults.ReadMode;
  return record;
}

std::u16string SettingsDirectory(const std::u16string& programDirectory) {
  return files::JoinPath(programDirectory, u"Configure");
}

std::u16string SettingsFilePath(const std::u16string& programDirectory) {
  return files::JoinPath(SettingsDirectory(programDirectory), u"Readerset.dat");
}

LoadedSettings LoadOrCreateSettings(const std::u16string& programDirectory) {
  LoadedSettings result;
  const std::u16string directory = SettingsDirectory(programDirectory);
  const std::u16string path = SettingsFilePath(programDirectory);
  if (!files::DirectoryExists(directory)) files::MakeDirectory(directory);
  if (!files::FileExists(path)) {
    result.Source = SaveSettings(programDirectory, result.Record)
                        ? SettingsSource::CreatedWithDefaults
                        : SettingsSource::DefaultsNotSaved;
    return result;
  }
  // A file that exists but cannot be read gives the defaults, and is never written over: it may
  // hold the user's settings, readable again once the fault is mended.
  if (auto bytes = files::ReadWholeFile(path)) {
    result.Record = ParseSettingsFile(*bytes);
  } else {
    result.Source = SettingsSource::Unreadable;
  }
  return result;
}

bool SaveSettings(const std::u16string& programDirectory, const SettingsRecord& record,
                  std::string* error) {
  return files::ReplaceFile(SettingsFilePath(programDirectory), SettingsFileBytes(record), error);
}

}  // namespace quillon
