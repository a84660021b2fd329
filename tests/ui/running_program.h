#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/main_program.h"
#include "program_folder.h"
#include "scripted_prompts.h"
#include "ui/main_window.h"

namespace tessavine::testing {

// The program on a test's program folder, shown and active, with scripted prompts, the device
// roots the test chooses and an ending that only counts.
class RunningProgram {
  public:
    explicit RunningProgram(const ProgramFolder& folder) {
        program = std::make_unique<MainProgram>(ProgramSetup{
            folder.nativePath(), &prompts, [this] { return deviceRoots; }, [this] { ++endings; }});
        window().show();
        static_cast<void>(QTest::qWaitForWindowActive(&window()));
    }

    MainWindow& window() { return program->window(); }

    template <typename Widget>
    Widget& find(const char* name) {
        auto* widget = window().findChild<Widget*>(name);
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *widget;
    }

    // Types into a field the way a user does: click into it, select everything with the
    // keyboard, delete it, type.
    void type(const char* field, const QString& text) {
        QLineEdit& edit = find<QLineEdit>(field);
        QTest::mouseClick(&edit, Qt::LeftButton);
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(&edit, static_cast<char>(c.unicode()));
            } else {  // a character typed through a keyboard layout of its own
                QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            }
        }
    }

    void click(const char* control) {
        QWidget& widget = find<QWidget>(control);
        QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.rect().center());
    }

    void tick(int slotBox) { click(QString("Check1(%1)").arg(slotBox).toUtf8().constData()); }

    ScriptedPrompts prompts;
    std::vector<std::string> deviceRoots;
    int endings = 0;
    std::unique_ptr<MainProgram> program;
};

}  // namespace tessavine::testing
