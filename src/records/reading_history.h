#pragma once
// The reading history and its file "Bookmark/Readrecord.dat": 20 lines of the time a book was left,
// its path and how far it had been read.

#include <string>
#include <string_view>
#include <vector>

#include "platform/datetime.h"
#include "platform/itemfile.h"
#include "settings/pub_variables.h"

namespace quillon {

std::u16string BookmarkDirectory(const std::u16string& programDirectory);
// Makes the folder of the records when it is not there yet.
void MakeBookmarkDirectory(const std::u16string& programDirectory);
std::u16string HistoryFilePath(const std::u16string& programDirectory);

// Clears one entry: the zero date-time, no path, no progress.
void ClearHistoryEntry(mPubVariable& pub, int index);
void ClearHistory(mPubVariable& pub);

// The file's 20 lines, entry 0 first.
std::string HistoryFileBytes(const mPubVariable& pub);

// Reads the entries from the file's bytes. Lines that read as a date-time, a text and a number
// fill the entries in order; a damaged line is passed over and entries left over are empty, so a
// damaged file never stops the reader and the next save writes a well-formed one.
void ParseHistoryFile(std::string_view bytes, mPubVariable& pub);

enum class HistoryFile { Missing, Read, Unreadable };
// Reads the history file below the program's folder into `pub`. A file that is missing, or that
// exists but cannot be read, leaves `pub` as it is; one that cannot be read must not be written
// over, since it may hold the user's twenty books.
HistoryFile LoadHistoryFile(const std::u16string& programDirectory, mPubVariable& pub);

// Puts the book at the top with the time and progress given: an entry of the same path (exactly
// the same text) is taken out first, the others keep their order, and the 20th is forgotten.
void MoveBookToTop(mPubVariable& pub, const std::u16string& path, const DateTime& now,
                   float percent);

// Takes entry `index` out: the entries after it move up and the last is empty, so the file keeps
// its used entries first, as every version of the reader writes it.
void RemoveHistoryEntry(mPubVariable& pub, int index);

// A progress as the history window shows it: 0.185 is "18.5%", 1 is "100.0%".
std::u16string ProgressText(float percent);

// A path the line format cannot hold: quotes and line ends would break the file.
bool IsStorablePath(const std::u16string& path);

// The lines of a file that keeps something of each book (its place, its bookmarks), as items:
// "path" and `count` - 1 more. A line of another count, or without a path it could hold, is
// skipped, so a damaged line costs only itself.
std::vector<std::vector<itemfile::Item>> BookLinesOf(std::string_view bytes, std::size_t count);

}  // namespace quillon
