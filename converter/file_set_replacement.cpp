#include "file_set_replacement.h"

#include <fstream>
#include <random>
#include <system_error>

#include "conversion_error.h"

namespace tessavine::converter {
namespace {

namespace fs = std::filesystem;

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

fs::path besides(const fs::path& path, const std::string& tag, const char* suffix) {
    fs::path other = path;
    other += "." + tag + suffix;
    return other;
}

// Where one file of the set stands while the set is replaced.
struct Replacement {
    const PlannedFile* file = nullptr;
    fs::path temporary;  // the new content, until it is renamed into place
    fs::path aside;      // the file it replaces, while the set is not complete
    bool written = false;
    bool movedAside = false;
    bool inPlace = false;
};

void removeQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

[[noreturn]] void fail(const PlannedFile& file, const std::string& problem) {
    throw ConversionError(file.label + ": cannot write " + quoted(file.path) + ": " + problem);
}

void writeTemporary(Replacement& replacement) {
    const PlannedFile& file = *replacement.file;
    std::ofstream out(replacement.temporary, std::ios::binary | std::ios::trunc);
    replacement.written = static_cast<bool>(out);
    if (!out) {
        fail(file,
             "the folder does not accept new files; check that you may write there and that "
             "the disk is not full or read-only");
    }
    out.write(reinterpret_cast<const char*>(file.bytes.data()),
              static_cast<std::streamsize>(file.bytes.size()));
    out.close();
    if (!out) {
        fail(file, "the file was not written completely; check that the disk is not full");
    }
}

void putInPlace(Replacement& replacement) {
    const PlannedFile& file = *replacement.file;
    std::error_code error;
    if (fs::is_directory(file.path, error)) {
        fail(file, "a folder of that name is in the way; rename or remove it");
    }
    if (fs::exists(file.path, error)) {
        fs::rename(file.path, replacement.aside, error);
        if (error) {
            fail(file, "the old file cannot be moved aside (" + error.message() +
                           "); check that no other program holds it open");
        }
        replacement.movedAside = true;
    }
    fs::rename(replacement.temporary, file.path, error);
    if (error) {
        fail(file, "the new file cannot be renamed into place (" + error.message() +
                       "); check that no other program holds it open");
    }
    replacement.inPlace = true;
}

// Undoes whatever of the set has been done. Returns what could not be undone, for the message.
std::string rollBack(std::vector<Replacement>& replacements) {
    std::string stranded;
    for (auto it = replacements.rbegin(); it != replacements.rend(); ++it) {
        if (it->inPlace) {
            removeQuietly(it->file->path);
        }
        if (it->written && !it->inPlace) {
            removeQuietly(it->temporary);
        }
        if (it->movedAside) {
            std::error_code error;
            fs::rename(it->aside, it->file->path, error);
            if (error) {
                stranded += "; the old " + it->file->path.filename().string() + " is kept as " +
                            quoted(it->aside) + ", rename it back by hand";
            }
        }
    }
    return stranded;
}

}  // namespace

void replaceFilesTogether(std::span<const PlannedFile> files) {
    const std::string tag = std::to_string(std::random_device{}() % 1000000u);
    std::vector<Replacement> replacements;
    replacements.reserve(files.size());
    for (const PlannedFile& file : files) {
        replacements.push_back(
            {&file, besides(file.path, tag, ".part"), besides(file.path, tag, ".old")});
    }
    try {
        for (Replacement& replacement : replacements) {
            writeTemporary(replacement);
        }
        for (Replacement& replacement : replacements) {
            putInPlace(replacement);
        }
    } catch (const ConversionError& error) {
        const std::string stranded = rollBack(replacements);
        throw ConversionError(error.what() +
                              (stranded.empty() ? std::string("; no file was changed") : stranded));
    }
    for (const Replacement& replacement : replacements) {
        if (replacement.movedAside) {
            removeQuietly(replacement.aside);
        }
    }
}

}  // namespace tessavine::converter
