#include "book/encoding_detect.h"

#include <array>
#include <string>

#include "platform/codepage.h"

namespace quillon {

namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.size() >= mark.size() && bytes.compare(0, mark.size(), mark) == 0;
}

// What a reading made of the samples, character by character.
struct Tally {
  std::size_t Characters = 0;
  std::size_t Common = 0;  // the common characters of simplified and traditional Chinese
  std::size_t Hanzi = 0;   // any other ideograph: valid, but rare in running text
  std::size_t Plain = 0;   // ASCII, line ends, Chinese and full-width punctuation
  // Letters of other scripts and symbols: valid, but what bytes of another encoding read as.
  std::size_t Other = 0;
  std::size_t Bad = 0;       // undecodable bytes, control codes, private use, lone surrogates
  std::size_t NonAscii = 0;  // characters that are not ASCII: the evidence a reading rests on

  void Add(const Tally& other) {
    Characters += other.Characters;
    Common += other.Common;
    Hanzi += other.Hanzi;
    Plain += other.Plain;
    Other += other.Other;
    Bad += other.Bad;
    NonAscii += other.NonAscii;
  }
  // From -4 (nothing but garbage) to 1 (nothing but common characters and punctuation); a text
  // of rare characters only is still above 0.
  double Quality() const {
    if (Characters == 0) return 0;
    const double good = static_cast<double>(Common + Plain) + 0.25 * static_cast<double>(Hanzi);
    const double poor = 0.25 * static_cast<double>(Other) + 4.0 * static_cast<double>(Bad);
    return (good - poor) / static_cast<double>(Characters);
  }
};

Tally Score(std::u16string_view text) {
  Tally tally;
  tally.Characters = text.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0x80) ++tally.NonAscii;
    if (c < 0x80) {
      const bool control = c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
      ++(control || c == 0x7F ? tally.Bad : tally.Plain);
    } else if (c >= 0x4E00 && c <= 0x9FFF) {
      ++(codepage::IsCommonHanzi(c) ? tally.Common : tally.Hanzi);
    } else if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF)) {
      ++tally.Hanzi;
    } else if ((c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF5E) ||
               (c >= 0x2010 && c <= 0x2027) || c == 0x00B7 || c == 0x00D7) {
      ++tally.Plain;
    } else if (c == 0xFFFD || c <= 0x9F || (c >= 0xE000 && c <= 0xF8FF)) {
      ++tally.Bad;
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      ++tally.Hanzi;  // most characters beyond the BMP in Chinese text are rare ideographs
      ++i;
      --tally.Characters;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      ++tally.Bad;
    } else {
      ++tally.Other;
    }
  }
  return tally;
}

}  // namespace

void DecodeAs(BookEncoding encoding, std::string_view bytes, std::u16string& out) {
  switch (encoding) {
    case BookEncoding::Big5:
      codepage::AppendBig5(bytes, out);
      break;
    case BookEncoding::Utf8:
      codepage::AppendUtf8(bytes, out);
      break;
    case BookEncoding::Utf16LE:
    case BookEncoding::Utf16BE:
      out += codepage::DecodeUtf16(bytes, encoding == BookEncoding::Utf16BE);
      break;
    default:
      codepage::AppendGb18030(bytes, out);
      break;
  }
}

namespace {

bool IsUtf16(BookEncoding encoding) {
  return encoding == BookEncoding::Utf16LE || encoding == BookEncoding::Utf16BE;
}

// The reading of one sample, cut where characters start: after a line end in the byte encodings,
// on a whole code unit in UTF-16. An edge that could not be cut there may split a character; one
// bad character is forgiven for each.
Tally ReadSample(BookEncoding encoding, const Sample& sample, std::size_t offset) {
  std::string_view bytes = sample.Bytes;
  std::size_t edges = 0;
  if (IsUtf16(encoding)) {
    if (offset % 2 == 1 && !bytes.empty()) bytes.remove_prefix(1);
    if (!sample.AtEnd) bytes = bytes.substr(0, bytes.size() & ~std::size_t{1});
  } else {
    if (!sample.AtStart) {
      const std::size_t line = bytes.find('\n');
      if (line != std::string_view::npos) {
        bytes.remove_prefix(line + 1);
      } else {
        ++edges;
      }
    }
    if (!sample.AtEnd) {
      const std::size_t line = bytes.rfind('\n');
      if (line != std::string_view::npos) {
        bytes = bytes.substr(0, line + 1);
      } else {
        ++edges;
      }
    }
  }
  // UTF-8 is strict, so a sample that is not UTF-8 need not be read as such to be ruled out.
  if (encoding == BookEncoding::Utf8 && !codepage::IsValidUtf8(bytes, !sample.AtEnd)) {
    Tally ruledOut;
    ruledOut.Characters = ruledOut.Bad = edges + 1;
    return ruledOut;
  }
  std::u16string text;
  text.reserve(bytes.size());
  DecodeAs(encoding, bytes, text);
  Tally tally = Score(text);
  tally.Bad -= std::min(tally.Bad, edges);
  return tally;
}

// Below this many non-ASCII characters a text is too short to overrule GB18030, the reading a
// GB2312 text of a few characters must always get: a handful of GB2312 bytes can read as valid
// UTF-8 or Big5 by chance.
constexpr std::size_t kShortText = 8;
// A reading must be this much better than GB18030's to win.
constexpr double kMargin = 0.05;
// Text, even of rare characters or with a damaged spot, reads above this in some encoding; a
// picture or an archive reads below it in all of them.
constexpr double kTextQuality = 0.2;

}  // namespace

DetectedEncoding DetectBookEncoding(const Sample& head, const Sample& middle, const Sample& tail) {
  if (StartsWith(head.Bytes, "\xEF\xBB\xBF")) return {BookEncoding::Utf8, 3, true};
  if (StartsWith(head.Bytes, "\xFF\xFE")) return {BookEncoding::Utf16LE, 2, true};
  if (StartsWith(head.Bytes, "\xFE\xFF")) return {BookEncoding::Utf16BE, 2, true};

  const std::array<BookEncoding, 5> candidates = {BookEncoding::Gb18030, BookEncoding::Big5,
                                                  BookEncoding::Utf8, BookEncoding::Utf16LE,
                                                  BookEncoding::Utf16BE};
  std::array<Tally, 5> tallies{};
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (i == 1 && tallies[0].Quality() >= 1.0 - kMargin) break;
    // The middle and the tail are read from even offsets; where they lie exactly only matters
    // to UTF-16, and the file's size decides the tail's parity.
    tallies[i].Add(ReadSample(candidates[i], head, 0));
    tallies[i].Add(ReadSample(candidates[i], middle, 0));
    tallies[i].Add(ReadSample(candidates[i], tail, 0));
  }

  const Tally& gb = tallies[0];
  // Nothing can beat a reading this good by the margin: the common case of a GB book ends here.
  if (gb.Quality() >= 1.0 - kMargin) return {};
  std::size_t best = 0;
  for (std::size_t i = 1; i < candidates.size(); ++i) {
    const Tally& other = tallies[i];
    // UTF-8 is strict: a single byte that does not decode rules it out.
    if (candidates[i] == BookEncoding::Utf8 && other.Bad > 0) continue;
    // A short text stays GB18030 unless that reading has bytes it cannot read.
    if (other.NonAscii < kShortText && gb.Bad == 0) continue;
    // Damaged GB18030 is likelier than another reading that is no better than garbage.
    if (other.Quality() < kTextQuality) continue;
    if (other.Quality() > tallies[best].Quality() + (best == 0 ? kMargin : 0.0)) best = i;
  }
  DetectedEncoding detected;
  detected.Encoding = candidates[best];
  detected.LooksLikeText = tallies[best].Characters == 0 || tallies[best].Quality() >= kTextQuality;
  return detected;
}

DetectedEncoding DetectBookEncoding(std::string_view bytes) {
  // The same samples as a book file's.
  constexpr std::size_t kSample = 16 * 1024;
  constexpr std::size_t kTail = 8 * 1024;
  if (bytes.size() <= 2 * kSample + kTail) return DetectBookEncoding({bytes, true, true}, {}, {});
  const std::size_t middle = bytes.size() / 2 & ~std::size_t{1};
  const std::size_t tail = (bytes.size() - kTail) & ~std::size_t{1};
  return DetectBookEncoding({bytes.substr(0, kSample), true, false},
                            {bytes.substr(middle, kSample), false, false},
                            {bytes.substr(tail), false, true});
}

}  // namespace quillon
