#include "command/Journal.h"

namespace host {

namespace {

std::vector<JournalEntry>& entries() {
    static std::vector<JournalEntry> journal;
    return journal;
}

}  // namespace

size_t journalCommandStart(const std::string& text) {
    entries().push_back(JournalEntry{JournalEntry::Command, text, MStatus(MStatus::kSuccess)});
    return entries().size() - 1;
}

void journalCommandEnd(size_t index, MStatus status) {
    // clearJournal may have run in between (a test clearing from inside a command).
    if (index < entries().size() && entries()[index].kind == JournalEntry::Command)
        entries()[index].status = status;
}

void journalMessage(JournalEntry::Kind kind, const std::string& text) {
    entries().push_back(JournalEntry{kind, text, MStatus(MStatus::kSuccess)});
}

size_t journalSize() { return entries().size(); }

std::string lastErrorSince(size_t index) {
    const std::vector<JournalEntry>& all = entries();
    for (size_t i = all.size(); i > index; --i) {
        if (all[i - 1].kind == JournalEntry::Error)
            return all[i - 1].text;
    }
    return std::string();
}

const std::vector<JournalEntry>& journal() { return entries(); }

void clearJournal() { entries().clear(); }

std::vector<std::string> journalCommands() {
    std::vector<std::string> out;
    for (const JournalEntry& e : entries())
        if (e.kind == JournalEntry::Command)
            out.push_back(e.text);
    return out;
}

std::vector<std::string> journalErrors() {
    std::vector<std::string> out;
    for (const JournalEntry& e : entries())
        if (e.kind == JournalEntry::Error)
            out.push_back(e.text);
    return out;
}

}  // namespace host
