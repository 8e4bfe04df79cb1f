#include "command/Journal.h"

#include <algorithm>

namespace host {

namespace {

// The journal keeps the most recent entries: past either limit the oldest are dropped, in batches down to
// three quarters of the limits so that dropping stays cheap per entry. Indices handed out are absolute
// (they count every entry since the host started), so a mark taken before entries were dropped or the
// journal was cleared never points at a later entry.
struct Journal {
    std::vector<JournalEntry> entries;
    size_t base = 0;      // absolute index of entries[0]
    size_t bytes = 0;     // text held by entries
    size_t dropped = 0;   // entries dropped since the last clear
    size_t maxEntries = 100000;
    size_t maxBytes = size_t(32) << 20;
};

Journal& state() {
    static Journal journal;
    return journal;
}

const size_t kMaxTextBytes = 64 * 1024;
const char kCutMark[] = " ...";

void trim(Journal& j) {
    if (j.entries.size() <= j.maxEntries && j.bytes <= j.maxBytes)
        return;
    const size_t keepEntries = j.maxEntries - j.maxEntries / 4;
    const size_t keepBytes = j.maxBytes - j.maxBytes / 4;
    size_t drop = 0;
    size_t bytes = j.bytes;
    while (drop + 1 < j.entries.size() && (j.entries.size() - drop > keepEntries || bytes > keepBytes))
        bytes -= j.entries[drop++].text.size();
    j.entries.erase(j.entries.begin(), j.entries.begin() + static_cast<std::ptrdiff_t>(drop));
    j.bytes = bytes;
    j.base += drop;
    j.dropped += drop;
}

size_t append(JournalEntry::Kind kind, const std::string& text, MStatus status) {
    Journal& j = state();
    JournalEntry entry{kind, std::string(), status};
    if (text.size() > kMaxTextBytes)
        entry.text = text.substr(0, kMaxTextBytes - (sizeof kCutMark - 1)) + kCutMark;
    else
        entry.text = text;
    j.bytes += entry.text.size();
    j.entries.push_back(std::move(entry));
    const size_t index = j.base + j.entries.size() - 1;
    trim(j);
    return index;
}

// The entry at absolute index, or null when it was dropped or cleared.
JournalEntry* at(size_t index) {
    Journal& j = state();
    if (index < j.base || index - j.base >= j.entries.size())
        return nullptr;
    return &j.entries[index - j.base];
}

}  // namespace

size_t journalCommandStart(const std::string& text) {
    return append(JournalEntry::Command, text, MStatus(MStatus::kSuccess));
}

void journalCommandEnd(size_t index, MStatus status) {
    if (JournalEntry* entry = at(index); entry && entry->kind == JournalEntry::Command)
        entry->status = status;
}

void journalMessage(JournalEntry::Kind kind, const std::string& text) {
    append(kind, text, MStatus(MStatus::kSuccess));
}

size_t journalSize() { return state().base + state().entries.size(); }

std::string lastErrorSince(size_t index) {
    const Journal& j = state();
    const size_t first = std::max(index, j.base) - j.base;
    for (size_t i = j.entries.size(); i > first; --i) {
        if (j.entries[i - 1].kind == JournalEntry::Error)
            return j.entries[i - 1].text;
    }
    return std::string();
}

void setJournalLimits(size_t entries, size_t bytes) {
    Journal& j = state();
    j.maxEntries = std::max<size_t>(entries, 4);
    j.maxBytes = std::max<size_t>(bytes, 2 * kMaxTextBytes);
    trim(j);
}

const std::vector<JournalEntry>& journal() { return state().entries; }

size_t journalDropped() { return state().dropped; }

void clearJournal() {
    Journal& j = state();
    j.base += j.entries.size();
    j.entries.clear();
    j.bytes = 0;
    j.dropped = 0;
}

std::vector<std::string> journalCommands() {
    std::vector<std::string> out;
    for (const JournalEntry& e : state().entries)
        if (e.kind == JournalEntry::Command)
            out.push_back(e.text);
    return out;
}

std::vector<std::string> journalErrors() {
    std::vector<std::string> out;
    for (const JournalEntry& e : state().entries)
        if (e.kind == JournalEntry::Error)
            out.push_back(e.text);
    return out;
}

}  // namespace host
