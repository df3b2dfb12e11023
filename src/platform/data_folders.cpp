#include "platform/data_folders.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/codepage.h"
#include "platform/files.h"

namespace quillon {

namespace {

std::u16string ParentOf(const std::u16string& path) {
  const std::size_t slash = path.find_last_of(u'/');
  if (slash == std::u16string::npos) return u".";
  return slash == 0 ? u"/" : path.substr(0, slash);
}

std::u16string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? codepage::DecodeUtf8(value) : std::u16string();
}

}  // namespace

DataFolders ChooseDataFolders(const FolderFacts& facts) {
  DataFolders folders;
  // Installed as PREFIX/bin/quillon with its data in PREFIX/share/quillon.
  folders.Shipped = facts.DataBesideExecutable
                        ? facts.ExecutableDirectory
                        : files::JoinPath(ParentOf(facts.ExecutableDirectory), u"share/quillon");
  if (facts.DataBesideExecutable && facts.ExecutableDirectoryWritable) {
    folders.Writable = facts.ExecutableDirectory;
    return folders;
  }
  // A relative XDG_DATA_HOME is to be ignored, as the base-directory rules say.
  const std::u16string dataHome = !facts.XdgDataHome.empty() && facts.XdgDataHome[0] == u'/'
                                      ? facts.XdgDataHome
                                      : files::JoinPath(facts.Home, u".local/share");
  folders.Writable = files::JoinPath(dataHome, u"quillon");
  return folders;
}

FolderFacts ReadFolderFacts(const std::u16string& executableDirectory) {
  FolderFacts facts;
  facts.ExecutableDirectory = executableDirectory;
  facts.DataBesideExecutable =
      files::DirectoryExists(files::JoinPath(executableDirectory, u"Configure")) ||
      files::DirectoryExists(files::JoinPath(executableDirectory, u"Icosource"));
  facts.ExecutableDirectoryWritable =
      access(codepage::EncodeUtf8(executableDirectory).c_str(), W_OK) == 0;
  facts.XdgDataHome = Variable("XDG_DATA_HOME");
  facts.Home = Variable("HOME");
  return facts;
}

}  // namespace quillon
