#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "core/process_starter.h"

namespace tessavine {

struct ConverterRun;

// Starts converters as processes of their own. A converter is never stopped by us: its QProcess
// is kept until the converter has finished, whether or not anyone still holds its handle, and one
// still running when this object goes (the program ending) is let go on purpose, so the converter
// runs on and still writes its output after the window has closed.
//
// The converter's standard output goes to the null device and its error output to a file of its
// own, never to a pipe: a converter that outlives us must not die writing into a pipe nobody
// reads. The file's contents become the outcome's error text.
class ConverterProcesses final : public ProcessStarter {
  public:
    ConverterProcesses();
    ~ConverterProcesses() override;
    ConverterProcesses(const ConverterProcesses&) = delete;
    ConverterProcesses& operator=(const ConverterProcesses&) = delete;

    StartResult start(const ProcessCommand& command) override;

  private:
    // Receives the queued deliveries of "finished" callbacks; they die with it.
    QObject deliveries_;
    std::vector<std::shared_ptr<ConverterRun>> runs_;
};

}  // namespace tessavine
