#pragma once

#include <memory>
#include <vector>

#include "core/process_starter.h"
#include "windows/win32.h"

namespace tessavine {

struct ConverterRun;

// Starts the converter with CreateProcessW: the program named by its full path, the command
// line exactly as built (so any character Windows allows reaches it unchanged), the working
// folder given, its console window minimised and given the focus, and returns at once.
// What it writes to its error output goes to a temporary file, read when it has ended. Its end
// is announced by kConverterFinishedMessage posted to `window`; finished() then hands outcomes
// to the waiting callbacks. A converter is never stopped by us.
class NativeProcesses final : public ProcessStarter {
  public:
    explicit NativeProcesses(HWND window) : window_(window) {}
    ~NativeProcesses() override;
    NativeProcesses(const NativeProcesses&) = delete;
    NativeProcesses& operator=(const NativeProcesses&) = delete;

    StartResult start(const ProcessCommand& command) override;
    // On kConverterFinishedMessage: collects the converters that have ended.
    void finished();

  private:
    HWND window_;
    std::vector<std::shared_ptr<ConverterRun>> runs_;
};

}  // namespace tessavine
