#pragma once

// A scratch folder holding the two example fonts, and the real programs run in it.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tessavine::converter::test {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

inline std::string readText(const fs::path& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

inline std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Every name in the folder with its content ("<folder>" for a folder), sorted.
inline std::vector<std::pair<std::string, std::string>> snapshot(const fs::path& folder) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        entries.emplace_back(entry.path().filename().string(),
                             entry.is_directory() ? "<folder>" : readText(entry.path()));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The names in the folder, sorted.
inline Words names(const fs::path& folder) {
    Words names;
    for (const auto& [name, content] : snapshot(folder)) {
        names.push_back(name);
    }
    return names;
}

struct RunOutcome {
    bool succeeded = false;  // exit status 0
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A fresh folder holding Example.ttf and Example2.otf, removed with everything in it at the end.
class ScratchFolder {
  public:
    ScratchFolder()
        : path_(fs::temp_directory_path() /
                ("tessavine-test-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
        for (const char* font : {"Example.ttf", "Example2.otf"}) {
            fs::copy_file(fs::path(TESSAVINE_FONTS_DIR) / font, path_ / font);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    Words names() const { return test::names(path_); }

    // Runs the program in this folder through the system's command shell. Arguments must not
    // contain double quotes. `environment` is put before the command (POSIX shells only).
    RunOutcome run(const fs::path& program, const Words& arguments,
                   const std::string& environment = "") const {
        const std::string tag = std::to_string(std::random_device{}());
        const fs::path outPath = fs::temp_directory_path() / ("tessavine-run-" + tag + ".out");
        const fs::path errPath = fs::temp_directory_path() / ("tessavine-run-" + tag + ".err");
#ifdef _WIN32
        static_cast<void>(environment);
        std::string command = "cd /d " + quoted(path_.string()) + " && " + quoted(program.string());
#else
        std::string command =
            "cd " + quoted(path_.string()) + " && " + environment + " " + quoted(program.string());
#endif
        for (const std::string& argument : arguments) {
            command += " " + quoted(argument);
        }
        command += " >" + quoted(outPath.string()) + " 2>" + quoted(errPath.string());
#ifdef _WIN32
        command = quoted(command);  // cmd /c strips one pair of quotes around the whole line
#endif
        RunOutcome outcome{std::system(command.c_str()) == 0, readText(outPath), readText(errPath)};
        fs::remove(outPath);
        fs::remove(errPath);
        return outcome;
    }

  private:
    fs::path path_;
};

}  // namespace tessavine::converter::test
