#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"

namespace tessavine {

// The file in a font folder that says a set of fonts is being renamed into it. Written whole
// (under another name, then renamed) after every new font lies complete under its temporary
// name and before the first rename; removed after the last. A journal found in a folder means a
// copy was ended between those two points and the folder may hold some new fonts and some old.
inline constexpr const char* kCopyJournalName = ".tessavine-copy.journal";

struct JournalFont {
    std::string name;       // the slot file, "ltn3.pgf"
    std::string temporary;  // the new font's temporary name in the same folder
    std::uintmax_t newSize = 0;
    std::uint64_t newSum = 0;
    bool replaces = false;  // an old font of that name was there, and is in the backup
    std::uintmax_t oldSize = 0;
    std::uint64_t oldSum = 0;
    // The copy takes the old font out and puts none in its place (a restore emptying a slot the
    // copy it undoes had filled); `replaces` is set too, as the old font is in the backup.
    bool removes = false;
};

struct CopyJournal {
    std::string backupFolder;  // where the old fonts are; empty when the copy replaced none
    std::vector<JournalFont> fonts;
    // Written by a copy that keeps no backup (into a converter's output folder, not a PSP): the
    // old fonts go as the new ones come, so an interrupted copy can only be finished. No font of
    // it is marked as replaced or removed.
    bool keepsNoBackup = false;
};

// A fingerprint of a font's bytes, to tell a completely written font from anything else.
std::uint64_t contentSum(std::string_view bytes);

std::string encodeJournal(const CopyJournal& journal);
// Nothing for a text that is not a whole journal, or whose names are anything but font slot
// files and temporary names of ours in the same folder.
std::optional<CopyJournal> decodeJournal(const std::string& text);

struct Completion {
    std::string report;  // what was found and done, for the user; empty when there was no journal
    std::string error;   // empty unless the folder could not be brought to one whole set
};

// Brings a font folder with a journal to one whole set: the new one when every new font is
// there complete (under its own name or its temporary one), else the old one from the backup.
// Then removes the journal. A journal of a copy that kept no backup is only ever finished; when
// one of its new fonts is damaged or gone, its temporary files and the journal are removed and
// the folder stays as it stood, which the report says (the next copy writes the whole set). Without
// a journal it does nothing. The caller holds the folder's lock.
//
// The journal may have been written by anyone who had the folder, so everything it says is
// checked before anything is changed, and a journal that fails a check changes nothing: its
// backup must be a folder directly in `backupRoot` (the program folder's, never a link) whose
// note names `folder`; every font it replaces must be in that backup, whole, with the size and
// fingerprint taken when the backup was made; a font it added may be removed by an undo only when
// that backup's note lists it as added; a new font is put in place only when it reads as a whole
// PGF font with the size and fingerprint written down; and no file of the folder that is neither
// of these is touched.
Completion completeInterruptedCopy(FileSystem& fileSystem, const std::string& folder,
                                   const std::string& backupRoot);

}  // namespace tessavine
