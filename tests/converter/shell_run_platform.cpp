// Starting a program through the system's command shell differs between Windows and the rest.

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "shell_run.h"

namespace tessavine::testing_support {
namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

RunOutcome runInFolder(const std::filesystem::path& folder, const std::filesystem::path& program,
                       const std::vector<std::string>& arguments) {
    const std::filesystem::path outputs = std::filesystem::temp_directory_path();
    const std::string tag = std::to_string(std::random_device{}());
    const auto outPath = outputs / ("tessavine-run-" + tag + ".out");
    const auto errPath = outputs / ("tessavine-run-" + tag + ".err");
#ifdef _WIN32
    std::string command = "cd /d " + quoted(folder.string()) + " && " + quoted(program.string());
#else
    std::string command = "cd " + quoted(folder.string()) + " && " + quoted(program.string());
#endif
    for (const std::string& argument : arguments) {
        command += " " + quoted(argument);
    }
    command += " >" + quoted(outPath.string()) + " 2>" + quoted(errPath.string());
#ifdef _WIN32
    command = quoted(command);  // cmd /c strips one pair of quotes around the whole line
#endif
    RunOutcome outcome;
    outcome.succeeded = std::system(command.c_str()) == 0;
    outcome.out = readText(outPath);
    outcome.err = readText(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return outcome;
}

ScratchFolder::ScratchFolder()
    : path_(std::filesystem::temp_directory_path() /
            ("tessavine-test-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tessavine::testing_support
