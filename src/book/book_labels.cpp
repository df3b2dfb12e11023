#include "book/book_labels.h"

#include "platform/files.h"
#include "platform/text.h"

namespace quillon {

std::u16string BookNameOfPath(const std::u16string& path) {
  const std::size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::u16string BookTitleOfName(const std::u16string& name) {
  return name.size() < 4 ? name : name.substr(0, name.size() - 4);
}

std::u16string WindowCaptionFor(const std::u16string& name) {
  return u"Quillon-[" + BookTitleOfName(name) + u"]";
}

std::u16string PageLabelText(std::int64_t pageNumber, std::int64_t pageCount) {
  return u"书页 " + DecimalText(pageCount > 0 ? pageNumber : 0) + u"/" + DecimalText(pageCount);
}

std::u16string BookNotReadText(const std::u16string& path) {
  if (path.empty()) return u"书的路径是空的：没有指明要打开哪一本书。";
  const bool there = files::FileExists(path) || files::DirectoryExists(path);
  return (there ? u"无法读取这本书：" : u"找不到这本书：") + files::ShownPath(path);
}

std::u16string ReadingMinutesText(std::int64_t seconds) {
  // Tenths of a minute in whole numbers, so that 3 seconds (0.05 minutes) rounds up exactly.
  const bool negative = seconds < 0;
  const std::int64_t magnitude = negative ? -seconds : seconds;
  const std::int64_t tenths = (magnitude * 10 + 30) / 60;
  return (negative && tenths != 0 ? u"-" : u"") + DecimalText(tenths / 10) + u"." +
         DecimalText(tenths % 10);
}

std::u16string BookInfoText(const std::u16string& name, std::int64_t seconds) {
  return u"书目名称: " + BookTitleOfName(name) + u"     格式: txt文档" + u"     已经阅读时间:" +
         ReadingMinutesText(seconds) + u" 分钟";
}

}  // namespace quillon
