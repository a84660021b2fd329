#include "app/main_program.h"

#include <QAction>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

#include "app/activation_focus.h"
#include "app/converter_processes.h"
#include "app/message_box_prompts.h"
#include "app/notice_balloon.h"
#include "app/widget_controls.h"
#include "app/widget_timer.h"
#include "core/dropped_font.h"
#include "core/settings_file.h"
#include "core/std_file_system.h"
#include "ui/about_window.h"
#include "ui/main_window.h"

namespace tessavine {

namespace {

Prompts& chosenPrompts(Prompts* given, std::unique_ptr<Prompts>& own, MainWindow& owner) {
    if (given != nullptr) {
        return *given;
    }
    own = std::make_unique<MessageBoxPrompts>(owner);
    return *own;
}

}  // namespace

MainProgram::MainProgram(ProgramSetup setup)
    : setup_(std::move(setup)),
      window_(std::make_unique<MainWindow>()),
      prompts_(chosenPrompts(setup_.prompts, ownPrompts_, *window_)),
      fileSystem_(std::make_unique<StdFileSystem>()),
      controls_(std::make_unique<WidgetControls>(*window_)),
      timer1_(std::make_unique<WidgetTimer>(window_->timer1())),
      processes_(std::make_unique<ConverterProcesses>()),
      notices_(std::make_unique<NoticeBalloon>(*window_)),
      session_(std::make_unique<ConversionSession>(
          SessionServices{*fileSystem_, *processes_, prompts_, *controls_, *timer1_, nullptr,
                          notices_.get()},
          setup_.programFolder, setup_.deviceRoots)),
      activationFocus_(new ActivationFocus(*window_, window_->executeButton())) {
    createAboutWindow();
    // Before the window is first shown, so the user never sees the initial values flash.
    restoreSettings(*fileSystem_, setup_.programFolder, *controls_, prompts_);

    connect(&window_->executeButton(), &QPushButton::clicked, this,
            [this] { session_->Command1_Click(); });
    connect(&window_->timer1(), &QTimer::timeout, this, [this] { session_->Timer1_Timer(); });
    connect(&window_->aboutAction(), &QAction::triggered, this, &MainProgram::showAbout);
    connect(window_.get(), &MainWindow::closeRequested, this, &MainProgram::saveAndEnd);
    connect(window_.get(), &MainWindow::filesDropped, this, &MainProgram::takeDroppedFiles);
}

MainProgram::~MainProgram() {
    // Nothing of the window may reach the program while its parts are being destroyed.
    window_->timer1().stop();
    window_->disconnect(this);
    window_->executeButton().disconnect(this);
    window_->timer1().disconnect(this);
    window_->aboutAction().disconnect(this);
}

AboutWindow& MainProgram::createAboutWindow() {
    about_ = new AboutWindow(window_.get());
    activationFocus_->watchReturnFrom(*about_);
    return *about_;
}

void MainProgram::showAbout() {
    AboutWindow& about = about_ ? *about_ : createAboutWindow();
    about.show();
    about.raise();
    about.activateWindow();
}

void MainProgram::takeDroppedFiles(const QStringList& paths) {
    std::vector<DroppedFile> dropped;
    for (const QString& path : paths) {
        dropped.push_back({path.toStdString(), QFileInfo(path).fileName().toStdString()});
    }
    if (const auto name = adoptDroppedFont(*fileSystem_, prompts_, setup_.programFolder, dropped)) {
        controls_->setText(TextField::fontname1, *name);
    }
}

void MainProgram::saveAndEnd() {
    if (ended_) {
        return;
    }
    ended_ = true;
    // Nothing of the run may follow the close: no tick, no slot copies, no device question.
    window_->timer1().stop();
    storeSettings(*fileSystem_, setup_.programFolder, *controls_, prompts_);
    if (about_) {
        about_->close();
    }
    notices_->hide();
    setup_.endProgram();
}

}  // namespace tessavine
