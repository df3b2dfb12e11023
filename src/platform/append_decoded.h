#pragma once
// Every decoder writes into room its caller gives, one unit a byte at the most; this is how the
// ones that append to a string use them.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::codepage {

// `into(bytes, out)` decodes and returns the end of what it wrote.
template <typename Into>
void AppendDecoded(std::string_view bytes, std::u16string& out, Into into) {
  const std::size_t start = out.size();
  out.resize(start + bytes.size());
  out.resize(static_cast<std::size_t>(into(bytes, out.data() + start) - out.data()));
}

}  // namespace quillon::codepage
