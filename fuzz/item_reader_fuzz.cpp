// The item reader on any text: every span lies inside the text, reading always moves on and
// ends, the copying and the span reading agree, and no conversion misbehaves.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/codepage.h"
#include "platform/itemfile.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Odd first bytes read the rest as UTF-16, so surrogates and any code unit turn up too.
  const std::u16string text = !bytes.empty() && (bytes[0] & 1) != 0
                                  ? codepage::DecodeUtf16(bytes.substr(1), false)
                                  : codepage::DecodeGb18030(bytes);
  itemfile::ItemReader spans(text);
  itemfile::ItemReader items(text);
  std::size_t reads = 0;
  while (!spans.AtEnd()) {
    if (++reads > text.size() + 1) std::abort();  // an item that consumes nothing loops forever
    const itemfile::ItemSpan span = spans.NextSpan();
    if (span.Start + span.Length > text.size() || span.TailStart + span.TailLength > text.size()) {
      std::abort();
    }
    const itemfile::Item item = items.Next();
    if (item.Text !=
            text.substr(span.Start, span.Length) + text.substr(span.TailStart, span.TailLength) ||
        item.Quoted != span.Quoted) {
      std::abort();
    }
    if (const auto number = itemfile::ToSingle(item)) {
      if (!std::isfinite(*number)) std::abort();
      // What the files write, they read back.
      if (!itemfile::ToSingle(itemfile::Item{itemfile::FormatSingle(*number), false})) std::abort();
    }
    if (const auto when = itemfile::ToDateTime(item); when && !when->IsValid()) std::abort();
    itemfile::ToInt16(item);
    itemfile::ToInt32(item);
    itemfile::ToBool(item);
  }
  if (!items.AtEnd()) std::abort();
  return 0;
}
