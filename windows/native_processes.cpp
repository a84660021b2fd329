#include "windows/native_processes.h"

#include <functional>
#include <string>
#include <utility>

#include "windows/exit_status.h"
#include "windows/wide_text.h"

namespace tessavine {

// One started converter, shared by the starter (until it has finished) and its handle.
struct ConverterRun {
    ~ConverterRun() {
        if (wait != nullptr) {
            UnregisterWaitEx(wait, nullptr);
        }
        if (process != nullptr) {
            CloseHandle(process);
        }
        if (!errorFile.empty()) {
            DeleteFileW(errorFile.c_str());
        }
    }

    HANDLE process = nullptr;
    HANDLE wait = nullptr;
    std::wstring errorFile;
    bool finished = false;
    bool delivered = false;
    ConverterOutcome outcome;
    std::function<void()> whenFinished;
};

namespace {

// Enough of the converter's error output for a message box.
constexpr DWORD kErrorTextLimit = 4096;

std::string readErrorText(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text(kErrorTextLimit, '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), kErrorTextLimit, &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// A fresh file in the temporary folder, inheritable, for one converter's error output.
HANDLE createErrorFile(std::wstring& path) {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"tsv", 0, name) == 0) {
        return INVALID_HANDLE_VALUE;
    }
    path = name;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

HANDLE openNullDevice(DWORD access) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                       0, nullptr);
}

void CALLBACK announceEnd(PVOID window, BOOLEAN) {
    // On a thread of the pool: only a message, the rest happens on the window's thread.
    PostMessageW(static_cast<HWND>(window), WM_APP + 1, 0, 0);
}

class ConverterHandle final : public RunningConverter {
  public:
    ConverterHandle(std::shared_ptr<ConverterRun> run, HWND window)
        : run_(std::move(run)), window_(window) {}
    ~ConverterHandle() override { run_->whenFinished = nullptr; }

    bool hasFinished() const override { return run_->finished; }
    ConverterOutcome outcome() const override { return run_->outcome; }
    void whenFinished(std::function<void()> callback) override {
        run_->whenFinished = std::move(callback);
        run_->delivered = false;
        if (run_->finished) {
            announceEnd(window_, FALSE);
        }
    }

  private:
    std::shared_ptr<ConverterRun> run_;
    HWND window_;
};

std::string lastErrorText() {
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = text != nullptr ? utf8FromWide(text) : std::string("unknown error");
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == '.' || result.back() == ' ')) {
        result.pop_back();
    }
    return result;
}

}  // namespace

NativeProcesses::~NativeProcesses() = default;

StartResult NativeProcesses::start(const ProcessCommand& command) {
    std::erase_if(runs_, [](const auto& run) { return run->finished && run->delivered; });

    auto run = std::make_shared<ConverterRun>();
    HANDLE errorOutput = createErrorFile(run->errorFile);
    HANDLE input = openNullDevice(GENERIC_READ);
    HANDLE output = openNullDevice(GENERIC_WRITE);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow =
        SW_SHOWMINIMIZED;  // minimised, and given the focus, as the Linux window starts it
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = errorOutput != INVALID_HANDLE_VALUE ? errorOutput : output;
    PROCESS_INFORMATION started{};
    const std::wstring program = wideFromUtf8(command.program);
    std::wstring commandLine = wideFromUtf8(command.commandLine);
    const std::wstring folder = wideFromUtf8(command.workingFolder);
    const BOOL ok = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                   CREATE_NEW_CONSOLE, nullptr, folder.c_str(), &startup, &started);
    const std::string reason = ok ? std::string() : lastErrorText();
    for (HANDLE handle : {errorOutput, input, output}) {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    if (!ok) {
        return {nullptr, "ttf2pgf.exe could not be started (" + reason +
                             "). Check that it is the converter that came with the program and "
                             "that you are allowed to run programs from its folder."};
    }
    CloseHandle(started.hThread);
    run->process = started.hProcess;
    RegisterWaitForSingleObject(&run->wait, run->process, &announceEnd, window_, INFINITE,
                                WT_EXECUTEONLYONCE);
    runs_.push_back(run);
    return {std::make_unique<ConverterHandle>(run, window_), {}};
}

void NativeProcesses::finished() {
    // Callbacks may start a new converter; work on a copy of the list.
    const std::vector<std::shared_ptr<ConverterRun>> runs = runs_;
    for (const auto& run : runs) {
        if (!run->finished && WaitForSingleObject(run->process, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(run->process, &code);
            run->outcome.started = true;
            run->outcome.crashed = isCrashExitCode(static_cast<std::uint32_t>(code));
            run->outcome.exitCode = static_cast<int>(code);
            run->outcome.errorText = readErrorText(run->errorFile);
            run->finished = true;
        }
        if (run->finished && !run->delivered) {
            run->delivered = true;
            if (auto callback = std::exchange(run->whenFinished, nullptr)) {
                callback();
            }
        }
    }
}

}  // namespace tessavine
