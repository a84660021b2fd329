#pragma once

#include <memory>
#include <string>
#include <vector>

#include "windows/win32.h"

namespace tessavine {

// The program from start to end: the main window with the saved settings applied, Execute and
// the timer's tick handed to the conversion session, the About window, dropped fonts, and on
// any close request the settings saved and the program ended.
class NativeProgram {
  public:
    NativeProgram(HINSTANCE instance, std::string programFolder);
    ~NativeProgram();
    NativeProgram(const NativeProgram&) = delete;
    NativeProgram& operator=(const NativeProgram&) = delete;

    // Shows the main window and runs until it closes; the exit code.
    int run();

  private:
    struct Parts;
    void saveAndEnd();
    void takeDroppedFiles(const std::vector<std::wstring>& paths);

    std::string programFolder_;
    std::unique_ptr<Parts> parts_;
    bool ended_ = false;
};

// The drive roots a PSP may be reached through, "d:" to "z:": a: and b: are floppy drives and
// c: the system.
std::vector<std::string> driveRoots();

}  // namespace tessavine
