#include "windows/native_program.h"

#include "core/conversion_session.h"
#include "core/dropped_font.h"
#include "core/file_platform.h"
#include "core/settings_file.h"
#include "core/std_file_system.h"
#include "windows/about_window.h"
#include "windows/message_box_prompts.h"
#include "windows/native_controls.h"
#include "windows/native_main_window.h"
#include "windows/native_processes.h"
#include "windows/popup_notices.h"
#include "windows/wide_text.h"
#include "windows/window_images.h"

namespace tessavine {

struct NativeProgram::Parts {
    Parts(HINSTANCE instance, NativeProgram& program)
        : window(instance,
                 MainWindowEvents{
                     .execute = [this] { session->Command1_Click(); },
                     .tick = [this] { session->Timer1_Timer(); },
                     .about = [this] { about->show(); },
                     .close = [&program] { program.saveAndEnd(); },
                     .drop =
                         [&program](const std::vector<std::wstring>& paths) {
                             program.takeDroppedFiles(paths);
                         },
                     .converterFinished = [this] { processes.finished(); },
                 },
                 images),
          prompts(window.handle()),
          controls(window),
          timer1(window.handle(), NativeMainWindow::kTimer1Id),
          processes(window.handle()),
          notices(instance, window.handle()),
          session(std::make_unique<ConversionSession>(
              SessionServices{fileSystem, processes, prompts, controls, timer1, nullptr, &notices},
              program.programFolder_, driveRoots)),
          about(std::make_unique<AboutWindow>(instance, window.handle())) {}

    WindowImages images;
    NativeMainWindow window;
    MessageBoxPrompts prompts;
    StdFileSystem fileSystem;
    NativeControls controls;
    WindowTimer timer1;
    NativeProcesses processes;
    // What a run did, told without a question; before the session, which is given it.
    PopupNotices notices;
    // After the converters: a session's converter handle must not outlive their starter.
    std::unique_ptr<ConversionSession> session;
    std::unique_ptr<AboutWindow> about;
};

std::vector<std::string> driveRoots() {
    std::vector<std::string> roots;
    for (char letter = 'd'; letter <= 'z'; ++letter) {
        roots.push_back(std::string{letter, ':'});
    }
    return roots;
}

NativeProgram::NativeProgram(HINSTANCE instance, std::string programFolder)
    : programFolder_(std::move(programFolder)), parts_(std::make_unique<Parts>(instance, *this)) {
    // Before the window is first shown, so the user never sees the initial values flash.
    restoreSettings(parts_->fileSystem, programFolder_, parts_->controls, parts_->prompts);
}

NativeProgram::~NativeProgram() = default;

int NativeProgram::run() {
    parts_->window.show();
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND about = parts_->about->handle();
        if (IsDialogMessageW(parts_->window.handle(), &message) ||
            IsDialogMessageW(about, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void NativeProgram::takeDroppedFiles(const std::vector<std::wstring>& paths) {
    std::vector<DroppedFile> dropped;
    for (const std::wstring& path : paths) {
        const std::string utf8 = utf8FromWide(path);
        dropped.push_back({utf8, platform::utf8FromPath(platform::pathFromUtf8(utf8).filename())});
    }
    if (const auto name =
            adoptDroppedFont(parts_->fileSystem, parts_->prompts, programFolder_, dropped)) {
        parts_->controls.setText(TextField::fontname1, *name);
    }
}

void NativeProgram::saveAndEnd() {
    if (ended_) {
        return;
    }
    ended_ = true;
    // Nothing of the run may follow the close: no tick, no slot copies, no device question.
    parts_->timer1.stop();
    storeSettings(parts_->fileSystem, programFolder_, parts_->controls, parts_->prompts);
    ShowWindow(parts_->about->handle(), SW_HIDE);
    ShowWindow(parts_->window.handle(), SW_HIDE);
    PostQuitMessage(0);
}

}  // namespace tessavine
