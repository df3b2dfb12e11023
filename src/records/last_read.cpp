#include "records/last_read.h"

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/itemfile.h"
#include "records/reading_history.h"

namespace quillon {

std::u16string LastReadFilePath(const std::u16string& programDirectory) {
  return files::JoinPath(BookmarkDirectory(programDirectory), u"Lastread.dat");
}

std::string LastReadFileBytes(const LastRead& record) {
  itemfile::ItemWriter writer;
  writer.WriteString(record.Path);
  writer.WriteInt(record.Page);
  writer.EndLine();
  return codepage::EncodeGb18030(writer.Text());
}

std::optional<LastRead> ParseLastReadFile(std::string_view bytes) {
  const std::u16string text = codepage::DecodeGb18030(bytes);
  itemfile::ItemReader reader(text);
  const itemfile::Item path = reader.Next();
  const itemfile::Item page = reader.Next();
  const auto number = itemfile::ToInt32(page);
  // A quote can reach the path through text after its closing quote; such a path could not be
  // written back, so the record counts as damaged.
  if (!path.Quoted || path.Text.empty() || !IsStorablePath(path.Text) || !number)
    return std::nullopt;
  return LastRead{path.Text, *number};
}

}  // namespace quillon
