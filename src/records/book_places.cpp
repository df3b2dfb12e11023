#include "records/book_places.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/itemfile.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

std::optional<std::int64_t> ToInt64(const itemfile::Item& item) {
  const std::u16string& text = item.Text;
  if (item.Quoted || text.empty() || text.size() > 19) return std::nullopt;
  std::int64_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return value;
}

// Line by line, so that a damaged line is dropped without taking its neighbours' items.
std::vector<KeptPlace> ReadPlaces(std::string_view bytes) {
  std::vector<KeptPlace> places;
  for (const std::vector<itemfile::Item>& items : BookLinesOf(bytes, 5)) {
    const std::optional<std::int64_t> size = ToInt64(items[1]), modified = ToInt64(items[2]),
                                      line = ToInt64(items[3]), offset = ToInt64(items[4]);
    if (!size || !modified || !line || !offset || *line > INT32_MAX || *offset > INT32_MAX) {
      continue;
    }
    places.push_back({items[0].Text,
                      {*size, *modified},
                      {static_cast<std::int32_t>(*line), static_cast<std::int32_t>(*offset)}});
  }
  return places;
}

}  // namespace

std::u16string BookPlacesFilePath(const std::u16string& programDirectory) {
  return files::JoinPath(BookmarkDirectory(programDirectory), u"Places.dat");
}

std::optional<BookPlace> PlaceKeptFor(std::string_view fileBytes, const std::u16string& path,
                                      const files::FileStamp& stamp) {
  for (const KeptPlace& kept : ReadPlaces(fileBytes)) {
    if (kept.Path == path) {
      if (kept.Stamp == stamp) return kept.Place;
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::string WithKeptPlace(std::string_view fileBytes, const KeptPlace& place,
                          const std::vector<std::u16string>& books) {
  std::vector<KeptPlace> places;
  if (IsStorablePath(place.Path) && !place.Path.empty()) places.push_back(place);
  for (KeptPlace& kept : ReadPlaces(fileBytes)) {
    const bool known = std::find(books.begin(), books.end(), kept.Path) != books.end();
    const bool listed = std::any_of(places.begin(), places.end(), [&kept](const KeptPlace& other) {
      return other.Path == kept.Path;
    });
    if (known && !listed) places.push_back(std::move(kept));
  }
  itemfile::ItemWriter writer;
  for (const KeptPlace& kept : places) {
    writer.WriteString(kept.Path);
    writer.WriteInt(kept.Stamp.Size);
    writer.WriteInt(kept.Stamp.Modified);
    writer.WriteInt(kept.Place.Line);
    writer.WriteInt(kept.Place.Offset);
    writer.EndLine();
  }
  return codepage::EncodeGb18030(writer.Text());
}

}  // namespace quillon
