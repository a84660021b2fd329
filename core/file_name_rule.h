#pragma once

#include <string>
#include <string_view>

namespace tessavine {

// A name that comes from outside (a dropped file's name, a name listed in a backup) names one
// file in one folder and nothing more: it is not empty, not "." or "..", and holds no character
// that separates folders on this platform ("/", and on Windows also "\" and the ":" of drives
// and streams) and no NUL. On Linux a backslash is an ordinary character of a file name, so
// "..\..\x.ttf" is one (odd) name there, never a way out of the folder.
bool isPlainFileName(std::string_view name);

// A name read from one of our own notes (a journal, a lock), which a stranger may have written on
// another computer: one file in one folder on every platform. Besides what isPlainFileName
// refuses, it holds no "\\" or ":" (a separator or drive on Windows, whichever platform reads it)
// and no control character.
bool isPlainOnEveryPlatform(std::string_view name);

// The path of the file `name` in `folder`, the name taken exactly as it is. Only for names that
// isPlainFileName accepts (joinPath, by contrast, reads backslashes as separators).
std::string pathOfNameIn(std::string_view folder, std::string_view name);

}  // namespace tessavine
