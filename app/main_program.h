#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "core/conversion_session.h"
#include "ui/about_window.h"

namespace tessavine {

class ActivationFocus;
class ConverterProcesses;
class MainWindow;
class NoticeBalloon;
class WidgetControls;
class WidgetTimer;

// What the program gets from outside. Tests put in a folder of their own, scripted prompts, a
// list of device roots and an ending that does not end the test.
struct ProgramSetup {
    std::string programFolder;   // the folder of the program and its converter, fonts and files
    Prompts* prompts = nullptr;  // nothing: modal message boxes over the main window
    DeviceRootsProvider deviceRoots;
    std::function<void()> endProgram;  // ends the event loop at once
};

// The program from start to end: creates the main window with the saved settings applied,
// forwards Execute and the timer's tick to the conversion session, shows the About window, and
// on any close request saves the settings and ends.
class MainProgram final : public QObject {
    Q_OBJECT

  public:
    explicit MainProgram(ProgramSetup setup);
    ~MainProgram() override;
    MainProgram(const MainProgram&) = delete;
    MainProgram& operator=(const MainProgram&) = delete;

    MainWindow& window() { return *window_; }

    // The About window while it exists; it is made afresh after the user has closed it.
    AboutWindow* aboutWindow() const { return about_; }

    // The balloon below the window that tells what a run did.
    NoticeBalloon& notices() { return *notices_; }

  private:
    void showAbout();
    AboutWindow& createAboutWindow();
    void saveAndEnd();
    // A drop onto the window: a font is made ready in the program folder and named in fontname1.
    void takeDroppedFiles(const QStringList& paths);

    ProgramSetup setup_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<Prompts> ownPrompts_;
    Prompts& prompts_;
    std::unique_ptr<FileSystem> fileSystem_;
    std::unique_ptr<WidgetControls> controls_;
    std::unique_ptr<WidgetTimer> timer1_;
    std::unique_ptr<ConverterProcesses> processes_;
    std::unique_ptr<NoticeBalloon> notices_;
    // After the converters: a session's converter handle must not outlive their starter.
    std::unique_ptr<ConversionSession> session_;
    ActivationFocus* activationFocus_ = nullptr;  // owned by the main window
    QPointer<AboutWindow> about_;
    bool ended_ = false;
};

}  // namespace tessavine
