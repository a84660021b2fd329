#pragma once

#include <QtTest>
#include <QtWidgets>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_program.h"
#include "ui/main_window.h"

namespace tessavine::testing {

// A temporary folder whose files are read and written whole.
struct TempFolder : QTemporaryDir {
    QByteArray read(const QString& name) const {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(filePath(name));
        if (!QDir().mkpath(QFileInfo(file).path()) || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size()) {
            throw std::runtime_error("cannot write " + name.toStdString());
        }
    }
};

// settings.bin as the program keeps it: each entry a two-byte length and its Windows-1252 text.
inline QByteArray settingsFile(const QByteArrayList& entries) {
    QByteArray bytes;
    for (const QByteArray& entry : entries) {
        bytes += QByteArray(1, static_cast<char>(entry.size())) + '\0' + entry;
    }
    return bytes;
}

// A temporary program folder with a converter as ttf2pgf.exe, the stand-in unless told.
struct ProgramFolder : TempFolder {
    explicit ProgramFolder(const QString& converter = TESSAVINE_FAKE_CONVERTER) {
        if (!QFile::copy(converter, filePath("ttf2pgf.exe"))) {
            throw std::runtime_error("cannot copy the converter");
        }
    }
};

// Records what the program shows and asks, and in which order; gives every question the same
// answer.
struct ScriptedPrompts final : Prompts {
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& title, const std::string& text) override {
        questions.push_back(title + " | " + text);
        order.push_back("question");
        return answer;
    }
    void showWarning(const std::string& text) override {
        warnings.push_back(text);
        order.push_back("warning");
    }
    bool answer = false;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> warnings;
    std::vector<std::string> order;  // "warning" and "question" as they came
};

// The program on a test's program folder, shown and active, with scripted prompts, the device
// roots the test chooses and an ending that only counts.
struct RunningProgram {
    explicit RunningProgram(const ProgramFolder& folder)
        : program(ProgramSetup{QDir::toNativeSeparators(folder.path()).toStdString(), &prompts,
                               [this] { return deviceRoots; }, [this] { ++endings; }}) {
        window().show();
        static_cast<void>(QTest::qWaitForWindowActive(&window()));
    }

    MainWindow& window() { return program.window(); }
    QLineEdit& field(const QString& name) { return *window().findChild<QLineEdit*>(name); }

    void click(const QString& name) {
        auto* control = window().findChild<QWidget*>(name);
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    }

    // Clicks into the field, empties it and types the text.
    void type(const QString& name, const QString& text) {
        QLineEdit& edit = field(name);
        QTest::mouseClick(&edit, Qt::LeftButton);
        edit.clear();
        for (const QChar c : text) {  // as any keyboard layout delivers it
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // Presses Execute; true once the run has armed Timer1 and its tick has finished.
    bool execute(int timeoutMs = 5000) {
        click("Command1");
        return window().timer1().isActive() &&
               QTest::qWaitFor([this] { return !window().timer1().isActive(); }, timeoutMs);
    }

    ScriptedPrompts prompts;
    std::vector<std::string> deviceRoots;
    int endings = 0;
    MainProgram program;
};

}  // namespace tessavine::testing
