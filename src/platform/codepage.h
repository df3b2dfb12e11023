#pragma once
// Conversion between file bytes and the UTF-16 text the core works in.
//
// Data files and GB2312/GBK books are GB18030: byte-for-byte GBK for every character GBK knows,
// and able to carry any other character, so nothing written by the reader is ever lost.

#include <string>
#include <string_view>

namespace quillon::codepage {

// Decodes GB18030. The lone byte 0x80 reads as the euro sign, as the Chinese Windows code page
// does. A byte sequence that is not valid becomes U+FFFD and decoding resumes right after it, so
// no text behind a damaged spot is lost.
std::u16string DecodeGb18030(std::string_view bytes);
// The same, appending to `out` (lets a caller reserve once for a large book).
void AppendGb18030(std::string_view bytes, std::u16string& out);

// Encodes to GB18030. A lone surrogate, which no encoding can carry, becomes '?'.
std::string EncodeGb18030(std::u16string_view text);

// Decodes Big5 as glibc's "CP950" reads it (Big5 with the common Windows extensions). A code
// glibc leaves unmapped, a lone 0x80 or 0xFF, or a lead cut off at the end becomes U+FFFD; so does
// a lead followed by a byte that cannot be a trail, and that byte is read again unless it is 0x80
// or 0xFF, so no text behind a damaged spot is lost.
std::u16string DecodeBig5(std::string_view bytes);
void AppendBig5(std::string_view bytes, std::u16string& out);

// Encodes to Big5. A character Big5 cannot carry becomes '?'. Of several codes for one character
// the lowest is written, except for 十 and 卅, written with their codes among the hanzi rather
// than as the numerals of the symbol rows, as glibc does.
std::string EncodeBig5(std::u16string_view text);

// Whether a character is among the GB2312 level-1 or the frequently used Big5 hanzi, the most
// common characters of simplified and of traditional Chinese.
bool IsCommonHanzi(char16_t c);

// UTF-8 both ways. Invalid input becomes U+FFFD per maximal invalid subpart (as WHATWG does).
std::u16string DecodeUtf8(std::string_view bytes);
void AppendUtf8(std::string_view bytes, std::u16string& out);
std::string EncodeUtf8(std::u16string_view text);
// Whether the bytes are UTF-8 throughout; with `cutAtEnd` a character cut off by their end
// counts as whole, as in a sample taken from a longer file.
bool IsValidUtf8(std::string_view bytes, bool cutAtEnd);

// UTF-16 without a byte-order mark; an odd last byte becomes U+FFFD.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);

// The decoders writing straight into memory the caller provides, with room for as many units as
// there are bytes (no encoding yields more), so a book is decoded once into its own text. Each
// returns the end of what it wrote.
char16_t* DecodeGb18030Into(std::string_view bytes, char16_t* out);
char16_t* DecodeBig5Into(std::string_view bytes, char16_t* out);
char16_t* DecodeUtf8Into(std::string_view bytes, char16_t* out);
char16_t* DecodeUtf16Into(std::string_view bytes, bool bigEndian, char16_t* out);

}  // namespace quillon::codepage
