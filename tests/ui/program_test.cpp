// The whole program in a temporary program folder: its settings, its end, the About window, and
// whole runs with the stand-in converter from Execute to the copies on a device.
#include "app/device_roots.h"
#include "app/message_box_prompts.h"
#include "app/widget_controls.h"
#include "core/dropped_font.h"
#include "running_program.h"

namespace tessavine::testing {

class ProgramTest : public QObject {
    Q_OBJECT

  private slots:
    void closeWhileConvertingSavesAndEndsAndTheNextStartRestores();
    void aboutWindowIsOneAtATimeAndGivesTheFocusBackToExecute();
    void runMakesTheTickedSlotFiles_data();
    void runMakesTheTickedSlotFiles();
    void tickCopiesToTheMemoryStickOnYes();
    void realConverterConvertsTheBundledFont();
    void deviceRootsComeFromTheListOrTheMedia();
    void promptsShowTheirTextAsWrittenAndWaitForTheAnswer();
    void everySlotBoxStateReachesTheWindow();
    void droppedFilesAreTakenOrRefused_data();
    void droppedFilesAreTakenOrRefused();
    void firstStartNamesTheBundledFontAndExecuteConverts();
};

void ProgramTest::closeWhileConvertingSavesAndEndsAndTheNextStartRestores() {
    // The texts, "0" for bold1, "1" for italicize1, Check1(1) to Check1(15) and an empty last
    // entry (Create All is not kept); each a two-byte length and Windows-1252 bytes.
    QByteArrayList entries = {"Caf\xe9 slow.ttf", "8", "0.8", "0.8", "3.", "", "0", "1", "1"};
    entries += QByteArrayList(13, "0") + QByteArrayList{"1", ""};
    const QByteArray expected = settingsFile(entries);
    ProgramFolder folder;
    folder.write("Caf\u00e9 slow.ttf", "font");
    {
        RunningProgram run(folder);
        run.type("fontname1", "Caf\u00e9 slow.ttf");
        run.type("height1", "7");  // Execute makes it 8
        run.type("blur1", "3.");
        run.type("intensity1", "");
        for (const char* box : {"italicize1", "Check1(1)", "Check1(15)", "Check1(16)"}) {
            run.click(box);
        }
        run.window().aboutAction().trigger();
        QPointer<AboutWindow> about = run.program.aboutWindow();
        run.click("Command1");
        QVERIFY(run.window().timer1().isActive() && about->isVisible());
        run.window().close();
        run.window().close();  // a second request while ending does not end twice
        QCOMPARE(run.endings, 1);
        QCOMPARE(folder.read("settings.bin"), expected);
        QTRY_VERIFY(!about || !about->isVisible());
        QTest::qWait(1200);  // past the tick that was due: no question
        QVERIFY(run.prompts.questions.empty() && run.prompts.messages.empty());
    }  // the program and its window are gone; the converter outlives them, no slot is copied
    QTRY_VERIFY_WITH_TIMEOUT(folder.read("ltn0.pgf").contains("PGF of Caf"), 10000);
    QVERIFY(folder.read("ltn1.pgf").isNull());
    RunningProgram again(folder);  // restores what the next close saves unchanged
    QCOMPARE(again.field("fontname1").text(), QString("Caf\u00e9 slow.ttf"));
    QVERIFY(again.window().close());
    QCOMPARE(folder.read("settings.bin"), expected);
}

void ProgramTest::aboutWindowIsOneAtATimeAndGivesTheFocusBackToExecute() {
    ProgramFolder folder;
    RunningProgram run(folder);
    for (int round = 0; round < 2; ++round) {  // the first window, then one made afresh
        QTest::mouseClick(&run.field("fontname1"), Qt::LeftButton);
        run.window().aboutAction().trigger();
        run.window().aboutAction().trigger();
        QCOMPARE(run.window().findChildren<AboutWindow*>().size(), 1);
        QPointer<AboutWindow> about = run.program.aboutWindow();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QCOMPARE(about->windowTitle(), QString("About this Program"));
        QCOMPARE(about->objectName(), QString("credits"));  // as its controls, found by name
        QCOMPARE(about->findChild<QPlainTextEdit*>("creditsabout1")->toPlainText(),
                 QString("About This Program\n\nThis program allows you to easily convert any "
                         "font file\nfor use as a modded font for any version of psp.\n"));

        about->close();
        QTRY_VERIFY(about.isNull());
        run.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&run.window()));
        QTRY_COMPARE(QApplication::focusWidget(), &run.window().executeButton());
        QCOMPARE(run.endings, 0);
    }
}

void ProgramTest::runMakesTheTickedSlotFiles_data() {
    QTest::addColumn<QStringList>("typed");  // field, text, ...; the font's name first
    QTest::addColumn<QStringList>("clicked");
    QTest::addColumn<QStringList>("parameters");   // the converter's arguments after the output
    QTest::addColumn<QStringList>("fieldsAfter");  // height1 to intensity1, as listed below
    QTest::addColumn<QStringList>("made");         // the slot files, sorted
    QTest::addColumn<QString>("message");
    const QStringList initial = {"24", "0.8", "0.8", "2.5", "1.2"};
    const QStringList defaults = {"24h0.8", "b2.5i1.2"};
    QStringList all;
    for (int slot = 0; slot < 16; ++slot) {
        all << QString("ltn%1.pgf").arg(slot);
    }
    all.sort();
    QTest::newRow("corrections, both styles, slots 3 and 7")
        << QStringList{"fontname1", "My Font.ttf", "horizontal1", "3",    "blur1",      "0",
                       "height1",   "007",         "advance1",    "1.00", "intensity1", ""}
        << QStringList{"bold1", "italicize1", "Check1(3)", "Check1(7)"}
        << QStringList{"8bih2.0", "b0.1i"} << QStringList{"8", "2.0", "1.00", "0.1", ""}
        << QStringList{"ltn0.pgf", "ltn3.pgf", "ltn7.pgf"} << "";
    QTest::newRow("create all, a slow converter: the tick waits for it")
        << QStringList{"fontname1", "slow.ttf"} << QStringList{"Check1(16)", "Check1(4)"}
        << defaults << initial << all << "";
    QTest::newRow("failing converter: one message, no slots")
        << QStringList{"fontname1", "broken.ttf"} << QStringList{"Check1(5)"} << defaults << initial
        << QStringList{} << "broken.ttf is not a font this converter can read.";
    QTest::newRow("crashing converter: one message, no slots")
        << QStringList{"fontname1", "crash.ttf"} << QStringList{"Check1(5)"} << defaults << initial
        << QStringList{} << "stopped unexpectedly";
}

void ProgramTest::runMakesTheTickedSlotFiles() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, clicked);
    QFETCH(QStringList, parameters);
    QFETCH(QStringList, fieldsAfter);
    QFETCH(QStringList, made);
    QFETCH(QString, message);
    ProgramFolder folder;
    folder.write(typed[1], "font");
    RunningProgram run(folder);
    for (qsizetype i = 0; i + 1 < typed.size(); i += 2) {
        run.type(typed[i], typed[i + 1]);
    }
    for (const QString& name : clicked) {
        run.click(name);
    }
    QVERIFY(run.execute(10000));

    // The stand-in's invocation.txt: its working directory, then one argument a line.
    const QStringList invocation = QString(folder.read("invocation.txt")).split('\n');
    QCOMPARE(QDir(invocation[0]).canonicalPath(), QDir(folder.path()).canonicalPath());
    QCOMPARE(invocation.mid(1), QStringList({typed[1], "ltn0.pgf"}) + parameters + QStringList{""});
    QStringList fields;
    for (const char* name : {"height1", "horizontal1", "advance1", "blur1", "intensity1"}) {
        fields << run.field(name).text();
    }
    QCOMPARE(fields, fieldsAfter);
    // After a slow converter, the tick's copies follow its output.
    QTRY_COMPARE_WITH_TIMEOUT(QDir(folder.path()).entryList({"ltn*.pgf"}), made, 10000);
    for (const QString& name : made) {
        QVERIFY(folder.read(name).endsWith("PGF of " + typed[1].toUtf8()));
    }
    QCOMPARE(run.prompts.messages.size(), message.isEmpty() ? 0u : 1u);
    QVERIFY(message.isEmpty() ||
            run.prompts.messages[0].find(message.toStdString()) != std::string::npos);
}

void ProgramTest::tickCopiesToTheMemoryStickOnYes() {
    ProgramFolder folder;
    folder.write("Example.ttf", "font");
    TempFolder drives;
    drives.write("empty/notes.txt", "");
    drives.write("stick/PSP/GAME/EBOOT.PBP", "");
    drives.write("stick/font/ltn2.pgf", "older");  // replaced
    drives.write("stick/font/ltn5.pgf", "kept");   // its slot is not made
    RunningProgram run(folder);
    for (const char* root : {"empty", "stick"}) {
        run.deviceRoots.push_back(QDir::toNativeSeparators(drives.filePath(root)).toStdString());
    }
    run.prompts.answer = true;
    run.type("fontname1", "Example.ttf");
    run.click("Check1(2)");
    QVERIFY(run.execute());

    const QString copyTo = QDir::toNativeSeparators(drives.filePath("stick/font/"));
    QCOMPARE(run.prompts.questions, std::vector<std::string>{"Copy font file(s) to Memory Stick? | "
                                                             "Do you want to copy the font file(s) "
                                                             "to " +
                                                             copyTo.toStdString()});
    QVERIFY(drives.read("stick/font/ltn0.pgf").endsWith("PGF of Example.ttf"));
    QVERIFY(drives.read("stick/font/ltn2.pgf").endsWith("PGF of Example.ttf"));
    QCOMPARE(drives.read("stick/font/ltn5.pgf"), QByteArray("kept"));
}

void ProgramTest::realConverterConvertsTheBundledFont() {
#ifndef TESSAVINE_CONVERTER
    QSKIP("the converter is not part of this build");
#else
    ProgramFolder folder(TESSAVINE_CONVERTER);
    QVERIFY(QFile::copy(TESSAVINE_FONTS_DIR "/Example.ttf", folder.filePath("Example.ttf")));
    RunningProgram run(folder);
    run.type("fontname1", "Example.ttf");
    run.click("Check1(3)");
    QVERIFY(run.execute(30000));
    QVERIFY(folder.read("ltn0.pgf").size() > 1000);
    QCOMPARE(folder.read("ltn3.pgf"), folder.read("ltn0.pgf"));
#endif
}

// What a message box showed.
struct ShownBox {
    bool seen = false;
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// A name from a file or the converter's words is shown as written, never as markup, and each
// call waits for the user's answer.
void ProgramTest::promptsShowTheirTextAsWrittenAndWaitForTheAnswer() {
    QWidget owner;
    owner.show();
    MessageBoxPrompts prompts(owner);
    const std::string markup = "<b>ltn0.pgf</b> &amp; <i>font</i>";
    const auto shownBy = [](QMessageBox::StandardButton button, const std::function<void()>& ask) {
        ShownBox shown;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            poll.stop();
            shown = {true,        box->windowTitle(),
                     box->text(), box->textFormat(),
                     box->icon(), box->standardButton(box->defaultButton())};
            box->button(button)->click();
        });
        poll.start(10);
        ask();
        return shown;
    };
    ShownBox shown = shownBy(QMessageBox::Ok, [&] { prompts.showMessage(markup); });
    QVERIFY2(shown.seen, "no message box was shown");
    QCOMPARE(shown.title, QString("Tessavine"));
    QCOMPARE(shown.text, QString::fromStdString(markup));
    QCOMPARE(shown.format, Qt::PlainText);
    QCOMPARE(shown.icon, QMessageBox::NoIcon);
    shown = shownBy(QMessageBox::Ok, [&] { prompts.showWarning(markup); });
    QVERIFY(shown.seen);
    QCOMPARE(shown.format, Qt::PlainText);
    QCOMPARE(shown.icon, QMessageBox::Warning);
    bool answer = false;
    shown = shownBy(QMessageBox::Yes, [&] { answer = prompts.askYesNo("Copy?", markup); });
    QVERIFY(shown.seen && answer);
    QCOMPARE(shown.title, QString("Copy?"));
    QCOMPARE(shown.format, Qt::PlainText);
    QCOMPARE(shown.defaultButton, QMessageBox::Yes);
    shown = shownBy(QMessageBox::No, [&] { answer = prompts.askYesNo("Copy?", markup); });
    QVERIFY(shown.seen && !answer);
}

// Every state the logic sets, from every other, shows on the window's box.
void ProgramTest::everySlotBoxStateReachesTheWindow() {
    MainWindow window;
    WidgetControls controls(window);
    const std::pair<int, Qt::CheckState> states[] = {
        {kTicked, Qt::Checked},     {kGreyed, Qt::PartiallyChecked},
        {kUnticked, Qt::Unchecked}, {kGreyed, Qt::PartiallyChecked},
        {kTicked, Qt::Checked},     {kUnticked, Qt::Unchecked}};
    for (const auto& [state, shown] : states) {
        controls.setSlotBoxState(5, state);
        QCOMPARE(window.slotBox(5).checkState(), shown);
        QCOMPARE(controls.slotBoxState(5), state);
    }
}

void ProgramTest::deviceRootsComeFromTheListOrTheMedia() {
    using Roots = std::vector<std::string>;
    // The variable's list replaces the scan; empty items would mean the top of the file system.
    qputenv(kDeviceRootsVariable,
            QStringList({"/z", "/a b", "", "/b"}).join(QDir::listSeparator()).toUtf8());
    const Roots fromTheVariable = candidateDeviceRoots();
    qunsetenv(kDeviceRootsVariable);
    QCOMPARE(fromTheVariable, (Roots{"/z", "/a b", "/b"}));
    QCOMPARE(removableMediaRoots({"/", "/media/u/PSP", "/home", "/mnt/s", "/run/media/u/CARD",
                                  "/media", "/mediabox/x", "/media/u/Backup", "/mnt/s"},
                                 {"/media", "/run/media", "/mnt"}),
             (Roots{"/media/u/Backup", "/media/u/PSP", "/mnt/s", "/run/media/u/CARD"}));
}

void ProgramTest::droppedFilesAreTakenOrRefused_data() {
    QTest::addColumn<QString>("target");       // where the files are dropped
    QTest::addColumn<QStringList>("dropped");  // names in another folder; "./x" in the program's
    QTest::addColumn<QByteArray>("already");   // the program folder's file of the first name
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("field");        // fontname1 afterwards
    QTest::addColumn<QByteArray>("inFolder");  // the program folder's file afterwards
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("message");
    const QString initial = "Example.ttf or Example2.otf";
    const QByteArray font = "font from elsewhere";
    const QString refused = kDropRefusedMessage;
    QTest::newRow("a font from elsewhere onto the field is copied")
        << "fontname1" << QStringList{"My Font.ttf"} << QByteArray() << false << "My Font.ttf"
        << font << 0 << "";
    QTest::newRow("an upper-case .OTF onto a label")
        << "Label1(4)" << QStringList{"Serif.OTF"} << QByteArray() << false << "Serif.OTF" << font
        << 0 << "";
    QTest::newRow("the same collection already there: used, nothing asked")
        << "main" << QStringList{"Set.ttc"} << font << false << "Set.ttc" << font << 0 << "";
    QTest::newRow("a font of the program folder itself")
        << "height1" << QStringList{"./Own.ttf"} << font << false << "Own.ttf" << font << 0 << "";
    QTest::newRow("a different font of that name, Yes replaces it")
        << "fontname1" << QStringList{"Clash.ttf"} << QByteArray("older") << true << "Clash.ttf"
        << font << 1 << "";
    QTest::newRow("a different font of that name, No keeps it and the field")
        << "fontname1" << QStringList{"Clash.ttf"} << QByteArray("older") << false << initial
        << QByteArray("older") << 1 << "";
    QTest::newRow("no font") << "main" << QStringList{"notes.txt"} << QByteArray() << false
                             << initial << QByteArray() << 0 << refused;
    QTest::newRow("a folder named like a font")
        << "main" << QStringList{"Folder.ttf/"} << QByteArray() << false << initial << QByteArray()
        << 0 << refused;
    QTest::newRow("two fonts at once")
        << "fontname1" << QStringList{"A.ttf", "B.ttf"} << QByteArray() << false << initial
        << QByteArray() << 0 << refused;
}

void ProgramTest::droppedFilesAreTakenOrRefused() {
    QFETCH(QString, target);
    QFETCH(QStringList, dropped);
    QFETCH(QByteArray, already);
    QFETCH(bool, answer);
    QFETCH(QString, field);
    QFETCH(QByteArray, inFolder);
    QFETCH(int, questions);
    QFETCH(QString, message);
    ProgramFolder folder;
    TempFolder elsewhere;
    QList<QUrl> urls;
    for (const QString& name : dropped) {
        const bool own = name.startsWith("./");
        const TempFolder& holder = own ? folder : elsewhere;
        const QString file = own ? name.mid(2) : name;
        if (file.endsWith('/')) {
            QVERIFY(QDir().mkpath(holder.filePath(file)));
        } else {
            holder.write(file, "font from elsewhere");
        }
        urls << QUrl::fromLocalFile(holder.filePath(file));
    }
    const QString name = QFileInfo(urls[0].toLocalFile()).fileName();
    if (!already.isNull()) {
        folder.write(name, already);
    }
    RunningProgram run(folder);
    run.prompts.answer = answer;
    // As the window system delivers a drop: to the window, at the middle of the target.
    // File managers offer the paths as text too, which an entry field would take as typing.
    QMimeData data;
    data.setUrls(urls);
    QStringList paths;
    for (const QUrl& url : urls) {
        paths << url.toLocalFile();
    }
    data.setText(paths.join('\n'));
    MainWindow& window = run.window();
    QWidget* at = target == "main" ? window.menuBar() : window.findChild<QWidget*>(target);
    const QPoint point = at->mapTo(&window, at->rect().center());
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &drop);

    QCOMPARE(run.field("fontname1").text(), field);
    QCOMPARE(folder.read(name), inFolder);
    QCOMPARE(int(run.prompts.questions.size()), questions);
    QCOMPARE(run.prompts.messages.size(), message.isEmpty() ? 0u : 1u);
    QVERIFY(message.isEmpty() || run.prompts.messages[0] == message.toStdString());
    QCOMPARE(QDir(folder.path()).entryList({"*.tmp*", ".*tmp*"}, QDir::Files | QDir::Hidden),
             QStringList());  // no half-copied leftovers
}

void ProgramTest::firstStartNamesTheBundledFontAndExecuteConverts() {
    // The window's initial values with Example.ttf.
    QByteArrayList entries = {"Example.ttf", "24", "0.8", "0.8", "2.5", "1.2", "0", "0"};
    entries += QByteArrayList(15, "0") + QByteArrayList{""};
    const QByteArray expected = settingsFile(entries);
    QFile made(TESSAVINE_FIRST_SETTINGS);
    QVERIFY(made.open(QIODevice::ReadOnly));
    QCOMPARE(made.readAll(), expected);
    QVERIFY(QFileInfo::exists(TESSAVINE_PROGRAM_DIR "/settings.bin"));

    ProgramFolder folder;
    folder.write("Example.ttf", "font");
    folder.write("settings.bin", expected);
    RunningProgram run(folder);
    QCOMPARE(run.field("fontname1").text(), QString("Example.ttf"));
    QVERIFY(run.execute());  // nothing typed
    QCOMPARE(QString(folder.read("invocation.txt")).split('\n').mid(1),
             (QStringList{"Example.ttf", "ltn0.pgf", "24h0.8", "b2.5i1.2", ""}));
    QVERIFY(folder.read("ltn0.pgf").endsWith("PGF of Example.ttf"));
    QVERIFY(run.prompts.messages.empty());
}

}  // namespace tessavine::testing

QTEST_MAIN(tessavine::testing::ProgramTest)
#include "program_test.moc"
