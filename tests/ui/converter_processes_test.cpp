// Starting the converter as a process: what it is given and how its end is reported. That it
// runs on after the program has ended is shown with the whole window.
#include <QDir>
#include <QTest>

#include "app/converter_processes.h"
#include "program_folder.h"

namespace tessavine::testing {

namespace {

ProcessCommand commandFor(const ProgramFolder& folder, const std::string& font) {
    ProcessCommand command;
    command.program = QDir::toNativeSeparators(folder.filePath("ttf2pgf.exe")).toStdString();
    command.arguments = {font, "ltn0.pgf", "24h0.8", "b2.5i1.2"};
    command.commandLine = "ttf2pgf.exe \"" + font + "\" ltn0.pgf 24h0.8 b2.5i1.2";
    command.workingFolder = folder.nativePath();
    return command;
}

}  // namespace

class ConverterProcessesTest : public QObject {
    Q_OBJECT

  private slots:
    void finishedConverterReportsItsOutcome_data();
    void finishedConverterReportsItsOutcome();
    void callbackForAFinishedConverterComesFromTheEventLoop();
    void missingProgramFailsToStartWithAReason();
};

void ConverterProcessesTest::finishedConverterReportsItsOutcome_data() {
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errorText");
    QTest::newRow("success") << "Example.ttf" << 0 << "";
    QTest::newRow("failure, error output trimmed")
        << "broken.ttf" << 2 << "broken.ttf is not a font this converter can read.";
}

void ConverterProcessesTest::finishedConverterReportsItsOutcome() {
    QFETCH(QString, font);
    QFETCH(int, exitCode);
    QFETCH(QString, errorText);
    ProgramFolder folder;
    ConverterProcesses processes;
    StartResult started = processes.start(commandFor(folder, font.toStdString()));
    QVERIFY2(started.process != nullptr, started.error.c_str());
    int calls = 0;
    started.process->whenFinished([&calls] { ++calls; });
    QTRY_COMPARE(calls, 1);
    QTest::qWait(50);
    QCOMPARE(calls, 1);

    QVERIFY(started.process->hasFinished());
    const ConverterOutcome outcome = started.process->outcome();
    QVERIFY(outcome.started);
    QVERIFY(!outcome.crashed);
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(QString::fromStdString(outcome.errorText), errorText);
    QCOMPARE(folder.invocation().mid(1), QStringList({font, "ltn0.pgf", "24h0.8", "b2.5i1.2"}));
}

void ConverterProcessesTest::callbackForAFinishedConverterComesFromTheEventLoop() {
    ProgramFolder folder;
    ConverterProcesses processes;
    StartResult started = processes.start(commandFor(folder, "Example.ttf"));
    QVERIFY(started.process != nullptr);
    QTRY_VERIFY(started.process->hasFinished());

    int first = 0;
    int second = 0;
    started.process->whenFinished([&first] { ++first; });
    started.process->whenFinished([&second] { ++second; });  // replaces the first
    QCOMPARE(second, 0);                                     // not from inside the call
    QTRY_COMPARE(second, 1);
    QCOMPARE(first, 0);
}

void ConverterProcessesTest::missingProgramFailsToStartWithAReason() {
    ProgramFolder folder;
    folder.removeConverter();
    ConverterProcesses processes;
    const StartResult started = processes.start(commandFor(folder, "Example.ttf"));
    QVERIFY(started.process == nullptr);
    QVERIFY(QString::fromStdString(started.error).contains("ttf2pgf.exe"));
}

}  // namespace tessavine::testing

QTEST_MAIN(tessavine::testing::ConverterProcessesTest)
#include "converter_processes_test.moc"
