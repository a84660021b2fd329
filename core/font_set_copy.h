#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/free_space.h"

namespace tessavine {

// A new font made in memory (a converter's output) rather than read from a file.
struct FontBytes {
    std::string name;   // the slot file it becomes, "ltn3.pgf"
    std::string bytes;  // a whole PGF font
};

struct FontSetCopy {
    std::vector<std::string> sources;  // the new fonts' paths; each keeps its file name
    std::string destinationFolder;     // the font folder they go into; it exists
    // Where the fonts they replace are kept first. Empty for a folder that is no PSP's (a
    // converter's output folder): nothing is backed up, and an interrupted copy is settled by
    // finishing it, never by undoing it.
    std::string backupRoot;
    std::string place;  // the destination as messages name it: "the PSP"
    std::string retry;  // how to try again: "press Execute again"
    // Slot files taken out of the folder with the same care as the fonts replaced (backed up
    // first, journalled, all or nothing): a restore emptying the slots a copy had filled. A name
    // that is no plain slot file refuses the whole copy; one not there is left out.
    std::vector<std::string> removals = {};
    // New fonts given as bytes, written with the same care as `sources`.
    std::vector<FontBytes> made = {};
};

struct FontSetCopyOutcome {
    std::string error;         // empty when every new font is in place
    std::string backupFolder;  // the backup of the fonts replaced; empty when none was needed
    // What became of a copy into the folder that was interrupted earlier (finished or undone),
    // found and settled before this one began; empty when there was none.
    std::string completed;
    std::vector<std::string> removed = {};  // the slot files of `removals` that were there and went
};

// Settles an interrupted copy into `folder`, under the folder's lock, without copying anything
// new: the "--finish" of tessavine-restore.
// With `takeOverLock`, a lock that is not provably a running copy's is removed first (the user
// has checked that no other copy runs).
FontSetCopyOutcome finishInterruptedCopy(FileSystem& fileSystem, const std::string& folder,
                                         const std::string& backupRoot, bool takeOverLock);

// The name our temporary copy of `fontName` has in the destination folder while the set is
// written: hidden, unique to the run (`tag`, from the folder's lock) so two runs never share a
// file, and recognisable as ours when a killed run leaves it behind.
std::string temporaryFontName(const std::string& fontName, const std::string& tag);

// Copies a set of fonts into a font folder whole or not at all. In this order: takes the folder's
// lock (waiting briefly for another copy); brings the folder to one whole set when an earlier
// copy was interrupted (see copy_journal.h), or a ttf2pgf --set of an earlier version (see
// earlier_set_journal.h); removes temporary files that an earlier, interrupted
// copy of ours left there; refuses a source that is not a whole PGF font; stops when a folder
// stands at a font's name or the drive has less free space than the new fonts need beside the
// old ones; backs up the fonts that will be replaced (with a note of the slots it fills, so that
// a restore empties them again, even when no font is replaced); writes every new font under its
// temporary name (a failure removes them all again and leaves the old fonts); writes the journal;
// and only then renames each over its old file and removes the journal. The message of a failure
// says what happened in one paragraph: which file, why, and what the folder holds now.
FontSetCopyOutcome copyFontSet(FileSystem& fileSystem, const FreeSpace& freeSpace,
                               const FontSetCopy& copy, std::chrono::system_clock::time_point now);

// The room a file takes on the drive, reckoned generously: memory cards are formatted in
// clusters of up to 32 KB, and a file fills its last cluster whole.
std::uintmax_t roomNeeded(std::uintmax_t fileSize);

// A size as people read it: "700 bytes", "12.5 KB", "3.4 MB".
std::string readableSize(std::uintmax_t bytes);

}  // namespace tessavine
