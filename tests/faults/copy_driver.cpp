// The window's device step as a program of its own, so that a test can end it at any file
// operation: copies the program folder's slot files onto the PSP at the device root, answering
// Yes, with the real file system. Prints the message the window would show; exits 1 with one.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "core/copy_journal.h"
#include "core/device_step.h"
#include "core/std_file_system.h"
#include "core/std_free_space.h"

namespace {

struct Yes final : tessavine::Prompts {
    std::string said;
    void showMessage(const std::string& text) override { said += text + "\n"; }
    bool askYesNo(const std::string&, const std::string&) override { return true; }
    void showWarning(const std::string& text) override { said += text + "\n"; }
};

struct StoppedTimer final : tessavine::Timer {
    void start(int) override {}
    void stop() override {}
    bool isActive() const override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    // The size and fingerprint a journal gives a file, for tests that write journals of their own.
    if (argc == 3 && std::string(argv[1]) == "--sum") {
        std::ifstream in(argv[2], std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::cout << bytes.size() << " " << tessavine::contentSum(bytes) << "\n";
        return in ? 0 : 1;
    }
    if (argc != 3) {
        std::cerr << "usage: copy_driver <program folder> <device root>\n";
        return 2;
    }
    tessavine::StdFileSystem files;
    const tessavine::StdFreeSpace space;
    Yes prompts;
    StoppedTimer timer;
    tessavine::copyFontsToDevice(files, space, prompts, timer, argv[1], {argv[2]});
    std::cout << prompts.said;
    return prompts.said.empty() ? 0 : 1;
}
