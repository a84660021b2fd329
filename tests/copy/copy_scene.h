#pragma once

// A program folder, a user's folder of new fonts and a fake PSP with the firmware's fonts, for
// tessavine-copy run as a program and called in-process.
#include <cstdlib>
#include <string>
#include <vector>

#include "support.h"

namespace tessavine::testing_support {

// Every file and folder below `root` with its size and a fingerprint of its bytes, one a line,
// sorted: a refusal that changes, adds or removes anything shows as a difference.
inline std::string treeSums(const fs::path& root) {
    std::set<std::string> lines;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string bytes = entry.is_regular_file() ? readBytes(entry.path()) : "<folder>";
        lines.insert(platform::utf8FromPath(fs::relative(entry.path(), root)) + " " +
                     std::to_string(bytes.size()) + " " +
                     std::to_string(std::hash<std::string>{}(bytes)));
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// A whole font holding every basic letter (U+0020 to U+007E) but those in `lacking`, and '_'
// whatever `lacking` says, which the PSP draws in their place: a font a copy takes without asking
// unless something is lacking. `mark` is its name; `length` pads it with zeros.
inline std::string letteredPgf(const std::string& mark, std::size_t length = 0,
                               const std::u16string& lacking = u"") {
    std::u16string codes;
    for (char16_t code = u' '; code <= u'~'; ++code) {
        if (code == u'_' || lacking.find(code) == std::u16string::npos) {
            codes += code;
        }
    }
    return pgfOfCodes(mark, codes, length);
}

struct CopyScene {
    CopyScene() {
        fs::create_directories(stick.path / "PSP" / "GAME");
        fs::create_directories(fonts());
        writeBytes(fonts() / "jpn0.pgf", testPgf("the firmware's jpn0", 3000));
        writeBytes(fonts() / "ltn0.pgf", testPgf("the firmware's ltn0"));
        writeBytes(fonts() / "ltn3.pgf", testPgf("the firmware's ltn3", 900));
        writeBytes(work.path / "jpn0.pgf", letteredPgf("our jpn0", 2000));
        fs::create_directories(work.path / "set");
        for (const char* slot : {"ltn0.pgf", "ltn1.pgf", "ltn3.pgf"}) {
            writeBytes(work.path / "set" / slot, letteredPgf(std::string("our ") + slot));
        }
        writeBytes(work.path / "set" / "notes.txt", "what the set is made of");
    }
    fs::path fonts() const { return stick.path / "font"; }
    std::vector<fs::path> backups() const { return sortedEntries(program.path / "backup"); }
    std::string allSums() const {
        return "program\n" + treeSums(program.path) + "work\n" + treeSums(work.path) + "stick\n" +
               treeSums(stick.path);
    }

    TempFolder program, work, stick;
};

}  // namespace tessavine::testing_support
