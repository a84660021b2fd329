// The program's life around the main window: the settings applied at the start and saved at
// every close, the focus on Execute, and the About window.
#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "running_program.h"
#include "ui/about_window.h"

namespace tessavine::testing {

class ProgramLifeTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartShowsTheInitialValuesAndCreatesNoFile();
    void closeSavesAndTheNextStartRestores();
    void closeEndsEverythingAtOnce();
    void unusableSettingsFileIsReportedAndTheProgramStillEnds();
    void aboutWindowIsOneAtATimeAndMadeAnewAfterClosing();
    void focusGoesToExecuteOnlyOnReturnsFromWithinTheProgram();
};

void ProgramLifeTest::firstStartShowsTheInitialValuesAndCreatesNoFile() {
    ProgramFolder folder;
    RunningProgram run(folder);
    QCOMPARE(run.find<QLineEdit>("fontname1").text(), QString("Example.ttf or Example2.otf"));
    QCOMPARE(run.find<QLineEdit>("height1").text(), QString("24"));
    QCOMPARE(run.find<QLineEdit>("intensity1").text(), QString("1.2"));
    QVERIFY(!run.find<QCheckBox>("bold1").isChecked());
    QVERIFY(!folder.exists("settings.bin"));
    QVERIFY(run.prompts.messages.empty());
}

void ProgramLifeTest::closeSavesAndTheNextStartRestores() {
    ProgramFolder folder;
    {
        RunningProgram run(folder);
        run.type("fontname1", "Caf\u00e9 Sans.ttf");
        run.type("height1", "7");  // out of range: kept as typed, Execute corrects it
        run.type("blur1", "3.");
        run.type("intensity1", "");
        run.click("italicize1");
        run.tick(1);
        run.tick(15);
        run.tick(16);  // Create All is not kept
        QVERIFY(run.window().close());
        QCOMPARE(run.endings, 1);
    }
    // The texts, then "0" for bold1, "1" for italicize1, slots 1 to 15, an empty last entry.
    QByteArray expected;
    const auto entry = [&expected](const QByteArray& text) {
        expected += char(text.size());
        expected += char(0);
        expected += text;
    };
    entry("Caf\xe9 Sans.ttf");  // saved in Windows-1252
    for (const char* text : {"7", "0.8", "0.8", "3.", "", "0", "1", "1"}) {
        entry(text);
    }
    for (int slot = 2; slot <= 14; ++slot) {
        entry("0");
    }
    entry("1");
    entry("");
    QCOMPARE(folder.read("settings.bin"), expected);

    RunningProgram again(folder);
    QCOMPARE(again.find<QLineEdit>("fontname1").text(), QString("Caf\u00e9 Sans.ttf"));
    QCOMPARE(again.find<QLineEdit>("height1").text(), QString("7"));
    QCOMPARE(again.find<QLineEdit>("blur1").text(), QString("3."));
    QCOMPARE(again.find<QLineEdit>("intensity1").text(), QString());
    QVERIFY(!again.find<QCheckBox>("bold1").isChecked());
    QVERIFY(again.find<QCheckBox>("italicize1").isChecked());
    for (int slot = 0; slot <= 16; ++slot) {
        const bool ticked = slot == 0 || slot == 1 || slot == 15;
        QCOMPARE(again.window().slotBox(slot).isChecked(), ticked);
    }
    QVERIFY(!again.window().slotBox(0).isEnabled());
}

void ProgramLifeTest::closeEndsEverythingAtOnce() {
    ProgramFolder folder;
    folder.write("Example.ttf", "font");
    RunningProgram run(folder);
    run.type("fontname1", "Example.ttf");
    run.tick(3);
    run.find<QAction>("About(0)").trigger();
    QPointer<AboutWindow> about = run.program->aboutWindow();
    QVERIFY(about && about->isVisible());
    run.click("Command1");
    QVERIFY(run.find<QTimer>("Timer1").isActive());

    run.window().close();
    QCOMPARE(run.endings, 1);
    QVERIFY(!run.find<QTimer>("Timer1").isActive());
    QTRY_VERIFY(!about || !about->isVisible());
    QVERIFY(folder.exists("settings.bin"));

    // A second request while ending does not save or end twice.
    folder.write("settings.bin", "untouched");
    run.window().close();
    QCOMPARE(run.endings, 1);
    QCOMPARE(folder.read("settings.bin"), QByteArray("untouched"));

    // The armed timer never ticks: no slot copy and no question follow.
    QTest::qWait(1500);
    QVERIFY(!folder.exists("ltn3.pgf"));
    QVERIFY(run.prompts.questions.empty());
    QVERIFY(run.prompts.messages.empty());
}

void ProgramLifeTest::unusableSettingsFileIsReportedAndTheProgramStillEnds() {
    ProgramFolder folder;
    QVERIFY(QDir(folder.path()).mkdir("settings.bin"));  // neither readable nor replaceable
    RunningProgram run(folder);
    QCOMPARE(run.prompts.messages.size(), std::size_t{1});
    QCOMPARE(run.find<QLineEdit>("height1").text(), QString("24"));

    run.window().close();
    QCOMPARE(run.prompts.messages.size(), std::size_t{2});
    QVERIFY(QString::fromStdString(run.prompts.messages[1]).contains("settings.bin"));
    QCOMPARE(run.endings, 1);
}

void ProgramLifeTest::aboutWindowIsOneAtATimeAndMadeAnewAfterClosing() {
    ProgramFolder folder;
    RunningProgram run(folder);
    QAction& about = run.find<QAction>("About(0)");
    QPointer<AboutWindow> first = run.program->aboutWindow();
    QVERIFY(first && !first->isVisible());  // made hidden at the start

    about.trigger();
    about.trigger();
    QVERIFY(first->isVisible());
    QCOMPARE(run.program->aboutWindow(), first.data());
    QCOMPARE(run.window().findChildren<AboutWindow*>().size(), 1);

    for (int round = 0; round < 3; ++round) {
        AboutWindow* shown = run.program->aboutWindow();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QCOMPARE(shown->objectName(), QString("credits"));
        QCOMPARE(shown->windowTitle(), QString("About this Program"));
        QCOMPARE(shown->size(), QSize(383, 95));
        QVERIFY(!shown->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        auto* text = shown->findChild<QPlainTextEdit*>("creditsabout1");
        QVERIFY(text != nullptr);
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->geometry(), QRect(0, 0, 385, 153));
        QCOMPARE(text->toPlainText(),
                 QString("About This Program\n\nThis program allows you to easily convert any "
                         "font file\nfor use as a modded font for any version of psp.\n"));

        QPointer<AboutWindow> closing = shown;
        shown->close();  // the window's own close button
        QTRY_VERIFY(closing.isNull());
        QVERIFY(run.window().isVisible());
        QCOMPARE(run.endings, 0);

        about.trigger();
        QVERIFY(run.program->aboutWindow() != nullptr);
        QVERIFY(run.program->aboutWindow()->isVisible());
        QCOMPARE(run.window().findChildren<AboutWindow*>().size(), 1);
    }
}

void ProgramLifeTest::focusGoesToExecuteOnlyOnReturnsFromWithinTheProgram() {
    ProgramFolder folder;
    RunningProgram run(folder);
    QWidget& execute = run.find<QWidget>("Command1");
    QLineEdit& fontName = run.find<QLineEdit>("fontname1");
    QAction& about = run.find<QAction>("About(0)");
    QTRY_COMPARE(QApplication::focusWidget(), &execute);

    // The user closes the About window; the main window becomes active again.
    QTest::mouseClick(&fontName, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), &fontName);
    about.trigger();
    QVERIFY(QTest::qWaitForWindowActive(run.program->aboutWindow()));
    run.program->aboutWindow()->close();
    run.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&run.window()));
    QTRY_COMPARE(QApplication::focusWidget(), &execute);

    // The user goes back to the main window while the About window stays open.
    QTest::mouseClick(&fontName, Qt::LeftButton);
    about.trigger();
    QVERIFY(QTest::qWaitForWindowActive(run.program->aboutWindow()));
    run.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&run.window()));
    QTRY_COMPARE(QApplication::focusWidget(), &execute);

    // Back from a window that is not the About window: the focus stays where it was.
    QTest::mouseClick(&fontName, Qt::LeftButton);
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    run.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&run.window()));
    QCOMPARE(QApplication::focusWidget(), &fontName);
}

}  // namespace tessavine::testing

QTEST_MAIN(tessavine::testing::ProgramLifeTest)
#include "program_life_test.moc"
