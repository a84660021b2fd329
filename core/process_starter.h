#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessavine {

// How a converter that has exited ended.
struct ConverterOutcome {
    bool started = true;   // false: it never ran
    bool crashed = false;  // ended by a signal or an exception rather than by exiting
    int exitCode = 0;
    std::string errorText;  // what it wrote to its error output, trimmed; may be empty
};

// A converter started by Execute. Destroying the handle never stops the process: a converter
// runs on by itself, also after the program has ended.
class RunningConverter {
  public:
    virtual ~RunningConverter() = default;
    virtual bool hasFinished() const = 0;
    // Valid once hasFinished() is true.
    virtual ConverterOutcome outcome() const = 0;
    // Calls `callback` once, on the event loop, when the process has finished (at once, from
    // the event loop, if it has already). Replaces an earlier callback.
    virtual void whenFinished(std::function<void()> callback) = 0;
};

// What is started: the command line exactly as built, and the same words as an argument list
// for platforms that pass arguments as a list (nothing ever goes through a shell).
struct ProcessCommand {
    std::string commandLine;             // Windows: passed to the process start as it stands
    std::string program;                 // full path of the executable to run
    std::vector<std::string> arguments;  // the words after the program name
    std::string workingFolder;
};

struct StartResult {
    std::unique_ptr<RunningConverter> process;  // null when the start failed
    std::string error;                          // why it failed, in words a user can act on
};

class ProcessStarter {
  public:
    virtual ~ProcessStarter() = default;
    // Starts the process with its window minimised and returns at once, without waiting.
    virtual StartResult start(const ProcessCommand& command) = 0;
};

}  // namespace tessavine
