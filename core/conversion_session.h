#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/free_space.h"
#include "core/main_controls.h"
#include "core/process_starter.h"
#include "core/prompts.h"
#include "core/result_notices.h"

namespace tessavine {

// The candidate roots for the device scan, in scan order, with the platform's separator
// ("d:" … "z:" on Windows). Asked afresh at every tick, since media come and go.
using DeviceRootsProvider = std::function<std::vector<std::string>()>;

struct SessionServices {
    FileSystem& fileSystem;
    ProcessStarter& processes;
    Prompts& prompts;
    MainControls& controls;
    Timer& timer1;
    // The free space of the PSP before a copy onto it; nothing: the drive's own answer.
    const FreeSpace* freeSpace = nullptr;
    // Where the results of a run are told; nothing: they are not shown.
    ResultNotices* notices = nullptr;
};

// The two handlers that do the work: Execute (Command1_Click) and the tick of Timer1
// (Timer1_Timer). It remembers only the converter of the last Execute, so that the tick never
// works on a conversion that is still running.
class ConversionSession {
  public:
    ConversionSession(SessionServices services, std::string programFolder,
                      DeviceRootsProvider deviceRoots);
    ~ConversionSession();
    ConversionSession(const ConversionSession&) = delete;
    ConversionSession& operator=(const ConversionSession&) = delete;

    void Command1_Click();
    void Timer1_Timer();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tessavine
