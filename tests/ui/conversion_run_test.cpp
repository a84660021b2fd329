// Whole runs in a temporary program folder with the stand-in converter: Execute, the tick that
// makes the slot files, and the copy onto a PSP, all driven through the window.
#include <QDir>
#include <QTest>
#include <QTimer>

#include "running_program.h"

namespace tessavine::testing {

namespace {

QStringList slotFilesIn(const QString& folder) {
    QStringList names = QDir(folder).entryList({"ltn*.pgf"}, QDir::Files);
    names.sort();
    return names;
}

}  // namespace

class ConversionRunTest : public QObject {
    Q_OBJECT

  private slots:
    void executeCorrectsTheFieldsAndStartsTheConverter_data();
    void executeCorrectsTheFieldsAndStartsTheConverter();
    void executeReportsWhatIsMissing_data();
    void executeReportsWhatIsMissing();
    void tickMakesTheTickedSlots_data();
    void tickMakesTheTickedSlots();
    void tickOffersTheFirstDevice_data();
    void tickOffersTheFirstDevice();
    void slowConverterIsWaitedFor();
    void failingConverterGivesOneMessage();
    void converterOutlivesTheClosedWindow();
};

void ConversionRunTest::executeCorrectsTheFieldsAndStartsTheConverter_data() {
    QTest::addColumn<QStringList>("typed");  // pairs: field, text
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("fieldsAfter");  // height1, horizontal1, advance1, blur1,
                                                   // intensity1
    QTest::newRow("initial values") << QStringList{"fontname1", "Example.ttf"} << QStringList{}
                                    << QStringList{"Example.ttf", "ltn0.pgf", "24h0.8", "b2.5i1.2"}
                                    << QStringList{"24", "0.8", "0.8", "2.5", "1.2"};
    QTest::newRow("corrections, bold, a blank in the name")
        << QStringList{"fontname1", "My Font.ttf", "horizontal1", "3",        "blur1",
                       "0",         "height1",     "007",         "advance1", "1.00"}
        << QStringList{"bold1"} << QStringList{"My Font.ttf", "ltn0.pgf", "8bh2.0", "b0.1i1.2"}
        << QStringList{"8", "2.0", "1.00", "0.1", "1.2"};
    QTest::newRow("both styles, empty intensity, verbatim texts in range")
        << QStringList{"fontname1", "Example.ttf", "horizontal1", ".25", "intensity1",
                       "",          "height1",     "08"}
        << QStringList{"bold1", "italicize1"}
        << QStringList{"Example.ttf", "ltn0.pgf", "08bih.25", "b2.5i"}
        << QStringList{"08", ".25", "0.8", "2.5", ""};
}

void ConversionRunTest::executeCorrectsTheFieldsAndStartsTheConverter() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, ticked);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, fieldsAfter);
    ProgramFolder folder;
    folder.write(typed[1], "font");
    RunningProgram run(folder);
    for (qsizetype i = 0; i + 1 < typed.size(); i += 2) {
        run.type(qPrintable(typed[i]), typed[i + 1]);
    }
    for (const QString& box : ticked) {
        run.click(qPrintable(box));
    }
    run.click("Command1");

    QVERIFY(run.find<QTimer>("Timer1").isActive());
    QTRY_VERIFY(folder.exists("ltn0.pgf"));
    const QStringList invocation = folder.invocation();
    QVERIFY(!invocation.isEmpty());
    QCOMPARE(QDir(invocation.first()).canonicalPath(), QDir(folder.path()).canonicalPath());
    QCOMPARE(invocation.mid(1), arguments);
    const char* const numericFields[] = {"height1", "horizontal1", "advance1", "blur1",
                                         "intensity1"};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(run.find<QLineEdit>(numericFields[i]).text(), fieldsAfter[i]);
    }
    QTRY_VERIFY(!run.find<QTimer>("Timer1").isActive());
    QVERIFY(run.prompts.messages.empty());
}

void ConversionRunTest::executeReportsWhatIsMissing_data() {
    QTest::addColumn<bool>("converterPresent");
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<QString>("message");
    QTest::newRow("no converter")
        << false << "Example.ttf"
        << "Check that TTF2PGF.EXE exists and is in the same folder as the program.";
    QTest::newRow("no such font") << true << "Missing.ttf"
                                  << "Check that your font name is correct, the font exists, "
                                     "and is in the same folder as the program.";
    QTest::newRow("empty font name") << true << ""
                                     << "Check that your font name is correct, the font exists, "
                                        "and is in the same folder as the program.";
}

void ConversionRunTest::executeReportsWhatIsMissing() {
    QFETCH(bool, converterPresent);
    QFETCH(QString, fontName);
    QFETCH(QString, message);
    ProgramFolder folder;
    folder.write("Example.ttf", "font");
    folder.write("ltn3.pgf", "old");
    if (!converterPresent) {
        folder.removeConverter();
    }
    RunningProgram run(folder);
    run.type("fontname1", fontName);
    run.type("horizontal1", "3");
    run.click("Command1");

    QCOMPARE(run.prompts.messages, std::vector<std::string>{message.toStdString()});
    QVERIFY(!folder.exists("ltn3.pgf"));  // the old slot files go all the same
    QCOMPARE(run.find<QLineEdit>("horizontal1").text(), QString("3"));
    QVERIFY(!run.find<QTimer>("Timer1").isActive());
    QVERIFY(!folder.exists("invocation.txt"));
}

void ConversionRunTest::tickMakesTheTickedSlots_data() {
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QStringList>("slotFiles");
    QTest::addColumn<QList<int>>("tickedAfter");
    QTest::newRow("nothing ticked") << QList<int>{} << QStringList{"ltn0.pgf"} << QList<int>{};
    QTest::newRow("slots 3 and 7")
        << QList<int>{3, 7} << QStringList{"ltn0.pgf", "ltn3.pgf", "ltn7.pgf"} << QList<int>{3, 7};
    QStringList all;
    QList<int> allBoxes;
    for (int slot = 0; slot < 16; ++slot) {
        all << QString("ltn%1.pgf").arg(slot);
        if (slot > 0) {
            allBoxes << slot;
        }
    }
    all.sort();
    QTest::newRow("create all") << QList<int>{16, 4} << all << (allBoxes << 16);
}

void ConversionRunTest::tickMakesTheTickedSlots() {
    QFETCH(QList<int>, ticked);
    QFETCH(QStringList, slotFiles);
    QFETCH(QList<int>, tickedAfter);
    ProgramFolder folder;
    folder.write("Example.ttf", "font");
    RunningProgram run(folder);
    run.type("fontname1", "Example.ttf");
    for (int box : ticked) {
        run.tick(box);
    }
    run.click("Command1");
    QTRY_VERIFY(!run.find<QTimer>("Timer1").isActive());

    QCOMPARE(slotFilesIn(folder.path()), slotFiles);
    const QByteArray converted = folder.read("ltn0.pgf");
    QVERIFY(converted.startsWith("PGF of Example.ttf"));
    for (const QString& name : slotFiles) {
        QCOMPARE(folder.read(name), converted);
    }
    for (int box = 1; box <= 16; ++box) {
        QCOMPARE(run.window().slotBox(box).isChecked(), tickedAfter.contains(box));
    }
    QVERIFY(run.window().slotBox(0).isChecked());
    QVERIFY(run.prompts.messages.empty());
    QVERIFY(run.prompts.questions.empty());  // no device among the roots
}

void ConversionRunTest::tickOffersTheFirstDevice_data() {
    QTest::addColumn<QStringList>("marks");  // one a root: "", "PSP/GAME", "kd" or both
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("device");  // index of the root offered; -1: none
    QTest::addColumn<QString>("title");
    QTest::newRow("memory stick behind two empty roots")
        << QStringList{"", "", "PSP/GAME"} << true << 2 << "Copy font file(s) to Memory Stick?";
    QTest::newRow("flash0 before a memory stick")
        << QStringList{"", "kd", "PSP/GAME"} << true << 1 << "Copy font file(s) to FLASH0?";
    QTest::newRow("both marks count as a memory stick")
        << QStringList{"kd PSP/GAME"} << true << 0 << "Copy font file(s) to Memory Stick?";
    QTest::newRow("answer no") << QStringList{"PSP/GAME"} << false << 0
                               << "Copy font file(s) to Memory Stick?";
    QTest::newRow("no device") << QStringList{"", "psp"} << true << -1 << "";
}

void ConversionRunTest::tickOffersTheFirstDevice() {
    QFETCH(QStringList, marks);
    QFETCH(bool, answer);
    QFETCH(int, device);
    QFETCH(QString, title);
    ProgramFolder folder;
    folder.write("Example.ttf", "font");
    QTemporaryDir drives;
    RunningProgram run(folder);
    for (qsizetype i = 0; i < marks.size(); ++i) {
        const QString root = drives.filePath(QString("drive%1").arg(i));
        QVERIFY(QDir().mkpath(root));
        for (const QString& mark : marks[i].split(' ', Qt::SkipEmptyParts)) {
            QVERIFY(QDir(root).mkpath(mark));
        }
        run.deviceRoots.push_back(QDir::toNativeSeparators(root).toStdString());
    }
    if (device >= 0) {
        // An older font on the device is replaced; one whose slot is not made stays.
        const QString fontFolder = drives.filePath(QString("drive%1/font").arg(device));
        QVERIFY(QDir().mkpath(fontFolder));
        QFile(fontFolder + "/ltn5.pgf").open(QIODevice::WriteOnly);
        QFile old(fontFolder + "/ltn2.pgf");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    }
    run.prompts.answers.push_back(answer);
    run.type("fontname1", "Example.ttf");
    run.tick(2);
    run.click("Command1");
    QTRY_VERIFY(!run.find<QTimer>("Timer1").isActive());

    if (device < 0) {
        QVERIFY(run.prompts.questions.empty());
        return;
    }
    QCOMPARE(run.prompts.questions.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(run.prompts.questions[0].title), title);
    const QString root = QDir::toNativeSeparators(drives.filePath(QString("drive%1").arg(device)));
    const QString expectedText = title.contains("FLASH0")
                                     ? QString(
                                           "Do you want to copy the font file(s) to "
                                           "FLASH0:\\font\\")
                                     : "Do you want to copy the font file(s) to " + root +
                                           QDir::separator() + "font" + QDir::separator();
    QCOMPARE(QString::fromStdString(run.prompts.questions[0].text), expectedText);

    const QString fontFolder = drives.filePath(QString("drive%1/font").arg(device));
    const QStringList expectedOnDevice = answer ? QStringList{"ltn0.pgf", "ltn2.pgf", "ltn5.pgf"}
                                                : QStringList{"ltn2.pgf", "ltn5.pgf"};
    QCOMPARE(slotFilesIn(fontFolder), expectedOnDevice);
    QCOMPARE(QFile(fontFolder + "/ltn2.pgf").size() == 3, !answer);
    if (answer) {
        QCOMPARE(run.prompts.messages, std::vector<std::string>{});
        QFile copied(fontFolder + "/ltn0.pgf");
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), folder.read("ltn0.pgf"));
    }
}

void ConversionRunTest::slowConverterIsWaitedFor() {
    ProgramFolder folder;
    folder.write("slow.ttf", "font");
    RunningProgram run(folder);
    run.type("fontname1", "slow.ttf");
    run.tick(9);
    run.click("Command1");
    // The tick comes after a second, before the converter is done, and takes up its work when
    // the converter has written its output.
    QTRY_VERIFY_WITH_TIMEOUT(folder.exists("ltn9.pgf"), 10000);
    QCOMPARE(folder.read("ltn9.pgf"), folder.read("ltn0.pgf"));
    QVERIFY(!run.find<QTimer>("Timer1").isActive());
    QVERIFY(run.prompts.messages.empty());
}

void ConversionRunTest::failingConverterGivesOneMessage() {
    ProgramFolder folder;
    folder.write("broken.ttf", "not a font");
    RunningProgram run(folder);
    run.type("fontname1", "broken.ttf");
    run.tick(16);
    run.click("Command1");
    QTRY_COMPARE(run.prompts.messages.size(), std::size_t{1});
    QTest::qWait(1200);  // nothing follows it
    QCOMPARE(run.prompts.messages.size(), std::size_t{1});
    const QString message = QString::fromStdString(run.prompts.messages[0]);
    QVERIFY2(message.contains("broken.ttf is not a font this converter can read."),
             qPrintable(message));
    QVERIFY(slotFilesIn(folder.path()).isEmpty());
    QVERIFY(!run.find<QTimer>("Timer1").isActive());
    QVERIFY(run.prompts.questions.empty());
}

void ConversionRunTest::converterOutlivesTheClosedWindow() {
    ProgramFolder folder;
    folder.write("slow.ttf", "font");
    {
        RunningProgram run(folder);
        run.type("fontname1", "slow.ttf");
        run.tick(4);
        run.click("Command1");
        QTRY_VERIFY(folder.exists("invocation.txt"));  // it is running
        run.window().close();
        QCOMPARE(run.endings, 1);
    }  // the program and its window are gone
    QTRY_VERIFY_WITH_TIMEOUT(folder.read("ltn0.pgf").startsWith("PGF of slow.ttf"), 10000);
    QTest::qWait(300);
    QVERIFY(!folder.exists("ltn4.pgf"));
}

}  // namespace tessavine::testing

QTEST_MAIN(tessavine::testing::ConversionRunTest)
#include "conversion_run_test.moc"
