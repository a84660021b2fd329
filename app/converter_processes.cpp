#include "app/converter_processes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <algorithm>
#include <functional>
#include <utility>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace tessavine {

// One started converter, shared by the starter (until it has finished) and its handle.
struct ConverterRun {
    ~ConverterRun();

    std::unique_ptr<QProcess> process;
    QString errorFile;
    bool finished = false;
    ConverterOutcome outcome;
    std::function<void()> whenFinished;
};

namespace {

// Enough of the converter's error output for a message box.
constexpr qint64 kErrorTextLimit = 4096;

QString readErrorText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromLocal8Bit(file.read(kErrorTextLimit)).trimmed();
}

// A fresh, empty file in the temporary folder for one converter's error output.
QString createErrorFile() {
    QTemporaryFile file(QDir::tempPath() + "/tessavine-converter-XXXXXX.txt");
    file.setAutoRemove(false);
    if (!file.open()) {
        return {};
    }
    return file.fileName();
}

void deliverWhenFinished(const std::weak_ptr<ConverterRun>& weakRun) {
    if (const auto run = weakRun.lock()) {
        if (auto callback = std::exchange(run->whenFinished, nullptr)) {
            callback();
        }
    }
}

class ConverterHandle final : public RunningConverter {
  public:
    ConverterHandle(std::shared_ptr<ConverterRun> run, QObject& deliveries)
        : run_(std::move(run)), deliveries_(&deliveries) {}

    // Only the callback goes; the process stays with the starter until it has finished.
    ~ConverterHandle() override { run_->whenFinished = nullptr; }

    bool hasFinished() const override { return run_->finished; }

    ConverterOutcome outcome() const override { return run_->outcome; }

    void whenFinished(std::function<void()> callback) override {
        run_->whenFinished = std::move(callback);
        if (run_->finished) {
            queueDelivery(run_, *deliveries_);
        }
    }

    static void queueDelivery(const std::shared_ptr<ConverterRun>& run, QObject& deliveries) {
        QMetaObject::invokeMethod(
            &deliveries, [weakRun = std::weak_ptr(run)] { deliverWhenFinished(weakRun); },
            Qt::QueuedConnection);
    }

  private:
    std::shared_ptr<ConverterRun> run_;
    QObject* deliveries_;
};

#if defined(Q_OS_WIN)
// The converter gets exactly the command line as built, with its program name as the first
// word, and shows a minimised console window that has the focus.
void passExactCommandLine(QProcess& process, const ProcessCommand& command) {
    const auto commandLine =
        std::make_shared<std::wstring>(QString::fromStdString(command.commandLine).toStdWString());
    const auto program = std::make_shared<std::wstring>(
        QDir::toNativeSeparators(QString::fromStdString(command.program)).toStdWString());
    process.setNativeArguments(QString::fromStdString(command.commandLine));
    process.setCreateProcessArgumentsModifier(
        [commandLine, program](QProcess::CreateProcessArguments* arguments) {
            arguments->applicationName = program->data();
            arguments->arguments = commandLine->data();
            arguments->flags &= ~static_cast<DWORD>(CREATE_NO_WINDOW);
            arguments->flags |= CREATE_NEW_CONSOLE;
            arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
            arguments->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
        });
}
#endif

}  // namespace

ConverterRun::~ConverterRun() {
    if (process && process->state() != QProcess::NotRunning) {
        // Destroying a QProcess kills its child. A converter must never be stopped by us, so
        // its QProcess is deliberately never destroyed; the system reclaims it when the program
        // ends. Its error file goes where the platform allows removing an open file.
        QFile::remove(errorFile);
        static_cast<void>(process.release());
        return;
    }
    if (!errorFile.isEmpty()) {
        QFile::remove(errorFile);
    }
}

ConverterProcesses::ConverterProcesses() = default;

ConverterProcesses::~ConverterProcesses() = default;

StartResult ConverterProcesses::start(const ProcessCommand& command) {
    std::erase_if(runs_, [](const auto& run) { return run->finished; });

    auto run = std::make_shared<ConverterRun>();
    run->errorFile = createErrorFile();
    run->process = std::make_unique<QProcess>();
    QProcess& process = *run->process;
    process.setProgram(QString::fromStdString(command.program));
#if defined(Q_OS_WIN)
    passExactCommandLine(process, command);
#else
    QStringList arguments;
    for (const std::string& argument : command.arguments) {
        arguments << QString::fromStdString(argument);
    }
    process.setArguments(arguments);
#endif
    process.setWorkingDirectory(QString::fromStdString(command.workingFolder));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(run->errorFile.isEmpty() ? QProcess::nullDevice()
                                                          : run->errorFile);

    QObject::connect(
        &process, &QProcess::finished, &deliveries_,
        [this, weakRun = std::weak_ptr(run)](int exitCode, QProcess::ExitStatus status) {
            const auto finishedRun = weakRun.lock();
            if (!finishedRun) {
                return;
            }
            finishedRun->outcome.started = true;
            finishedRun->outcome.crashed = status == QProcess::CrashExit;
            finishedRun->outcome.exitCode = exitCode;
            finishedRun->outcome.errorText = readErrorText(finishedRun->errorFile).toStdString();
            finishedRun->finished = true;
            // Never call back from inside QProcess's own signal: the callback may
            // drop the last handle and with it the QProcess.
            ConverterHandle::queueDelivery(finishedRun, deliveries_);
        });

    process.start();
    if (!process.waitForStarted()) {
        const QString reason = process.errorString();
        return {nullptr, "ttf2pgf.exe could not be started (" + reason.toStdString() +
                             "). Check that it is the converter that came with the program and "
                             "that you are allowed to run programs from its folder."};
    }
    runs_.push_back(run);
    return {std::make_unique<ConverterHandle>(run, deliveries_), {}};
}

}  // namespace tessavine
