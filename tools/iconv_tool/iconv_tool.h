#pragma once
// What the table generators share: glibc's iconv as the reference every table is read from, and
// a way to stop that names the generator.

#include <errno.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>

namespace quillon_tools {

[[noreturn]] inline void Fail(const std::string& why) {
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, why.c_str());
  std::exit(1);
}

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      Fail(std::string("iconv_open: ") + from + " to " + to);
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // The whole of `in` converted, or nothing if iconv rejects any of it.
  std::optional<std::string> Convert(const std::string& in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
      return std::nullopt;
    }
    if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
      return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
  }

 private:
  iconv_t cd_;
};

inline std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// The single code point `code` reads as through a decoder to UTF-32LE, or 0 when glibc rejects
// it.
inline std::uint32_t DecodeOne(Iconv& decoder, const std::string& code) {
  const std::optional<std::string> out = decoder.Convert(code);
  if (!out) return 0;
  if (out->size() != 4) Fail("a code decoded to more than one character");
  std::uint32_t cp = 0;
  for (int i = 3; i >= 0; --i) cp = cp << 8 | static_cast<unsigned char>((*out)[i]);
  if (cp == 0) Fail("a code decoded to U+0000");
  return cp;
}

// What an encoder from UTF-32LE writes for `cp`, empty when it has no code for it.
inline std::string EncodeOne(Iconv& encoder, std::uint32_t cp) {
  std::string in;
  for (int i = 0; i < 4; ++i) in.push_back(static_cast<char>(cp >> (8 * i) & 0xFF));
  return encoder.Convert(in).value_or(std::string());
}

}  // namespace quillon_tools
