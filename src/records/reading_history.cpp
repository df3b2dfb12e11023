#include "records/reading_history.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/itemfile.h"
#include "platform/text.h"

namespace quillon {

std::u16string BookmarkDirectory(const std::u16string& programDirectory) {
  return files::JoinPath(programDirectory, u"Bookmark");
}

void MakeBookmarkDirectory(const std::u16string& programDirectory) {
  const std::u16string folder = BookmarkDirectory(programDirectory);
  if (!files::DirectoryExists(folder)) files::MakeDirectory(folder);
}

std::u16string HistoryFilePath(const std::u16string& programDirectory) {
  return files::JoinPath(BookmarkDirectory(programDirectory), u"Readrecord.dat");
}

void ClearHistoryEntry(mPubVariable& pub, int index) {
  const auto at = static_cast<std::size_t>(index);
  pub.ReadRecordDate[at] = DateTime();
  pub.ReadRecordPath[at].clear();
  pub.ReadRecordPercent[at] = 0.0f;
}

void ClearHistory(mPubVariable& pub) {
  for (int i = 0; i < kHistorySize; ++i) ClearHistoryEntry(pub, i);
}

std::string HistoryFileBytes(const mPubVariable& pub) {
  itemfile::ItemWriter writer;
  for (std::size_t i = 0; i < kHistorySize; ++i) {
    writer.WriteDateTime(pub.ReadRecordDate[i]);
    writer.WriteString(pub.ReadRecordPath[i]);
    writer.WriteSingle(pub.ReadRecordPercent[i]);
    writer.EndLine();
  }
  return codepage::EncodeGb18030(writer.Text());
}

namespace {

// The file's lines, without their line ends.
std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

HistoryFile LoadHistoryFile(const std::u16string& programDirectory, mPubVariable& pub) {
  const std::u16string path = HistoryFilePath(programDirectory);
  if (!files::FileExists(path)) return HistoryFile::Missing;
  const std::optional<std::string> bytes = files::ReadWholeFile(path);
  if (!bytes) return HistoryFile::Unreadable;
  ParseHistoryFile(*bytes, pub);
  return HistoryFile::Read;
}

void ParseHistoryFile(std::string_view bytes, mPubVariable& pub) {
  ClearHistory(pub);
  const std::u16string text = codepage::DecodeGb18030(bytes);
  std::size_t next = 0;
  for (std::u16string_view line : SplitLines(text)) {
    if (next == kHistorySize) break;
    itemfile::ItemReader reader(line);
    const itemfile::Item date = reader.Next();
    const itemfile::Item path = reader.Next();
    const itemfile::Item percent = reader.Next();
    const auto when = itemfile::ToDateTime(date);
    const auto progress = itemfile::ToSingle(percent);
    if (!when || !progress || !path.Quoted || !IsStorablePath(path.Text)) continue;
    pub.ReadRecordDate[next] = *when;
    pub.ReadRecordPath[next] = path.Text;
    pub.ReadRecordPercent[next] = *progress;
    ++next;
  }
}

void MoveBookToTop(mPubVariable& pub, const std::u16string& path, const DateTime& now,
                   float percent) {
  auto copyEntry = [&pub](std::size_t from, std::size_t to) {
    pub.ReadRecordDate[to] = pub.ReadRecordDate[from];
    pub.ReadRecordPath[to] = pub.ReadRecordPath[from];
    pub.ReadRecordPercent[to] = pub.ReadRecordPercent[from];
  };
  // Take the book out where it stands; the entry moving into its place is not compared again.
  for (int i = 0; i < kHistorySize; ++i) {
    if (pub.ReadRecordPath[static_cast<std::size_t>(i)] != path) continue;
    ClearHistoryEntry(pub, i);
    for (int j = i + 1; j < kHistorySize; ++j) {
      copyEntry(static_cast<std::size_t>(j), static_cast<std::size_t>(j - 1));
      ClearHistoryEntry(pub, j);
    }
  }
  // Entry 0 still holds the path only if the list held it twice in a row; then no new entry.
  if (pub.ReadRecordPath[0] == path) return;
  for (int j = kHistorySize - 2; j >= 0; --j) {
    copyEntry(static_cast<std::size_t>(j), static_cast<std::size_t>(j + 1));
  }
  pub.ReadRecordDate[0] = now;
  pub.ReadRecordPath[0] = path;
  pub.ReadRecordPercent[0] = percent;
}

void RemoveHistoryEntry(mPubVariable& pub, int index) {
  if (index < 0 || index >= kHistorySize) return;
  for (auto i = static_cast<std::size_t>(index); i + 1 < kHistorySize; ++i) {
    pub.ReadRecordDate[i] = pub.ReadRecordDate[i + 1];
    pub.ReadRecordPath[i] = std::move(pub.ReadRecordPath[i + 1]);
    pub.ReadRecordPercent[i] = pub.ReadRecordPercent[i + 1];
  }
  ClearHistoryEntry(pub, kHistorySize - 1);
}

std::u16string ProgressText(float percent) {
  // A damaged or foreign file may hold any number; what is shown stays within 0 to 100 %.
  percent = std::isnan(percent) ? 0.0f : std::clamp(percent, 0.0f, 1.0f);
  // Tenths of a percent in whole numbers, halves away from zero, from the single-precision product.
  const double hundredfold = static_cast<double>(percent * 100.0f);
  const auto tenths = static_cast<std::int64_t>(std::llround(hundredfold * 10));
  const std::int64_t magnitude = tenths < 0 ? -tenths : tenths;
  return (tenths < 0 ? u"-" : u"") + DecimalText(magnitude / 10) + u"." +
         DecimalText(magnitude % 10) + u"%";
}

bool IsStorablePath(const std::u16string& path) {
  return path.find_first_of(u"\"\r\n") == std::u16string::npos;
}

std::vector<std::vector<itemfile::Item>> BookLinesOf(std::string_view bytes, std::size_t count) {
  std::vector<std::vector<itemfile::Item>> lines;
  const std::u16string text = codepage::DecodeGb18030(bytes);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    itemfile::ItemReader reader(std::u16string_view(text).substr(start, end - start));
    start = end + 1;
    std::vector<itemfile::Item> items;
    while (!reader.AtEnd() && items.size() <= count) items.push_back(reader.Next());
    if (items.size() == count && items[0].Quoted && !items[0].Text.empty() &&
        IsStorablePath(items[0].Text)) {
      lines.push_back(std::move(items));
    }
  }
  return lines;
}

}  // namespace quillon
