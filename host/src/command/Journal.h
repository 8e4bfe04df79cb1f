#ifndef HOST_JOURNAL_H
#define HOST_JOURNAL_H

#include <host/Host.h>

#include <cstddef>
#include <string>

namespace host {

// A command is journaled when it starts, so the messages it displays follow it; its status is filled in
// when it ends.
size_t journalCommandStart(const std::string& text);
void journalCommandEnd(size_t index, MStatus status);
void journalMessage(JournalEntry::Kind kind, const std::string& text);
// Index of the next entry; with lastErrorSince, finds what a command displayed.
size_t journalSize();
// The last Error entry at or after index, or "" when there is none.
std::string lastErrorSince(size_t index);
// The journal keeps at most this many entries and bytes of text (at least 4 entries and 128 KiB); past
// either, the oldest entries are dropped and counted by journalDropped. A text longer than 64 KiB is
// kept cut, ending in " ...". By default 100,000 entries and 32 MiB.
void setJournalLimits(size_t entries, size_t bytes);

}  // namespace host

#endif
