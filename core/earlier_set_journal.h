#pragma once

#include <string>

#include "core/copy_journal.h"
#include "core/file_system.h"

namespace tessavine {

// The journal that ttf2pgf --set kept in its output folder before it copied through
// copyFontSet: ".ttf2pgf-set.journal", one line per slot file naming its new file
// ("ltn3.pgf.<tag>.part") and the old one moved aside ("ltn3.pgf.<tag>.old"), all of one tag.
inline constexpr const char* kEarlierSetJournalName = ".ttf2pgf-set.journal";

// Settles what a run of that earlier version left in `folder`, under the folder's lock: a journal
// that reads as one of its own brings the folder to the new set when every new file is a whole
// PGF font of the stated size and fingerprint, else back to the old files moved aside; one that
// does not changes nothing and is refused in words that name it and say what to do. Without a
// journal, the files such runs leave when killed outside it (".part", ".old" of a slot file and
// the journal's draft) are removed. Nothing to report when there was nothing of it.
Completion settleEarlierSetJournal(FileSystem& fileSystem, const std::string& folder);

}  // namespace tessavine
