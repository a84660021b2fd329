// What the window tells after a run, from real conversions of real fonts: the notice below the
// window after Execute and after the device step, and the warning before the device question
// for a font without some basic letters. The fonts in fonts/ are made by fonts/make-test-fonts.
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

#include "app/notice_balloon.h"
#include "running_program.h"

namespace tessavine::testing {

class NoticeTest : public QObject {
    Q_OBJECT

  private slots:
    void runsTellWhatHappened_data();
    void runsTellWhatHappened();
    void noticeStaysOutOfTheWayAndGoesAtAClick();
    void noticeNeverNarrowerThanItsText_data();
    void noticeNeverNarrowerThanItsText();
};

namespace {

// The line of a font larger than the PSP's own ltn0.pgf (69108 bytes); its figures are worked
// out by hand in the core tests (FontSizeLine), here only its place in the notice matters.
const QString kSizeLinePattern =
    R"(\nltn0\.pgf is larger than the PSP's own: it is (\d+) bytes against 69108\. )"
    R"(Font Scale (\d+) or less keeps it within\.)";

// A notice as a pattern: the literal text with "<time>" for the seconds the conversion took,
// "<stick>" for the PSP's font folder and "<backup>" for a backup folder of the program folder.
QString noticePattern(QString text, const QString& stickFonts, const QString& programFolder) {
    text.replace("<time>", "TIMEx").replace("<stick>", "STICKx").replace("<backup>", "BACKUPx");
    text.replace("<size>", "SIZEx");
    QString pattern = QRegularExpression::escape(text);
    pattern.replace("TIMEx", R"((\d{1,2}\.\d|less than 0\.1) s)");
    pattern.replace("STICKx", QRegularExpression::escape(stickFonts));
    pattern.replace("SIZEx", kSizeLinePattern);
    pattern.replace("BACKUPx", QRegularExpression::escape(
                                   QDir::toNativeSeparators(programFolder + "/backup/")) +
                                   R"(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d)");
    return "^" + pattern + "$";
}

const char* const kFullFont =
    "ltn0.pgf made from Example.ttf in <time>: 447 characters, none missing.";
const char* const kNoSlots = "\nNo other slot was ticked, so no slot file was copied from it.";
const char* const kLarger = "<size>";

}  // namespace

void NoticeTest::runsTellWhatHappened_data() {
    QTest::addColumn<QString>("font");
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("device");  // "": none; "new": a stick without fonts; "old": with
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("notices");
    QTest::addColumn<QString>("warning");  // "" for none
    QTest::addColumn<bool>("copied");

    const QString noQxzWarning =
        "The font made lacks 7 of the 95 basic characters (letters, digits, punctuation and the "
        "space): Q X Z q x z ~.\n\nThe PSP will show \"_\" in their place wherever they appear, in "
        "games and in its own menus. Answer No to the next question to keep the fonts the PSP has "
        "now.";
    const QString noQxzMade =
        "ltn0.pgf made from NoQXZ.ttf in <time>: 7 of the PSP's 447 characters are missing and "
        "will show as _.";

    QTest::newRow("every character, no PSP")
        << "Example.ttf" << QStringList{} << "" << true
        << QStringList{QString(kFullFont) + kNoSlots + kLarger} << "" << false;
    QTest::newRow("every character, two slots, copy replaces old fonts")
        << "Example.ttf" << QStringList{"Check1(4)", "Check1(9)"} << "old" << true
        << QStringList{QString(kFullFont) + "\n2 slot files copied from it." + kLarger,
                       "3 fonts copied to <stick>.\nThe fonts they replaced are backed up in "
                       "<backup>."}
        << "" << true;
    QTest::newRow("a few missing, copy replaces nothing")
        << "FewMissing.ttf" << QStringList{"Check1(1)"} << "new" << true
        << QStringList{"ltn0.pgf made from FewMissing.ttf in <time>: 8 of the PSP's 447 "
                       "characters are missing and will show as _.\n1 slot file copied from it." +
                           QString(kLarger),
                       "2 fonts copied to <stick>.\nNothing there was replaced, so no backup was "
                       "needed."}
        << "" << true;
    QTest::newRow("basic letters missing, warned, then Yes")
        << "NoQXZ.ttf" << QStringList{} << "new" << true
        << QStringList{noQxzMade + kNoSlots + kLarger,
                       "1 font copied to <stick>.\nNothing there was replaced, so no backup was "
                       "needed."}
        << noQxzWarning << true;
    QTest::newRow("basic letters missing, warned, then No")
        << "NoQXZ.ttf" << QStringList{} << "old" << false
        << QStringList{noQxzMade + kNoSlots + kLarger, "Nothing was copied to the PSP."}
        << noQxzWarning << false;
    QTest::newRow("every character, No")
        << "Example.ttf" << QStringList{} << "new" << false
        << QStringList{QString(kFullFont) + kNoSlots + kLarger, "Nothing was copied to the PSP."}
        << "" << false;
}

void NoticeTest::runsTellWhatHappened() {
    QFETCH(QString, font);
    QFETCH(QStringList, ticked);
    QFETCH(QString, device);
    QFETCH(bool, answer);
    QFETCH(QStringList, notices);
    QFETCH(QString, warning);
    QFETCH(bool, copied);

    ProgramFolder folder(TESSAVINE_CONVERTER);
    const QString fontSource = font.startsWith("Example") ? TESSAVINE_FONTS_DIR "/" + font
                                                          : TESSAVINE_TEST_FONTS_DIR "/" + font;
    QVERIFY(QFile::copy(fontSource, folder.filePath(font)));
    TempFolder drives;
    if (!device.isEmpty()) {
        drives.write("stick/PSP/GAME/EBOOT.PBP", "");
    }
    if (device == "old") {
        drives.write("stick/font/ltn0.pgf", "older");
        drives.write("stick/font/ltn4.pgf", "older");
    }
    RunningProgram run(folder);
    if (!device.isEmpty()) {
        run.deviceRoots.push_back(QDir::toNativeSeparators(drives.filePath("stick")).toStdString());
    }
    run.prompts.answer = answer;
    QStringList shown;
    connect(&run.program.notices(), &NoticeBalloon::noticeShown,
            [&shown](const QString& text) { shown << text; });
    run.type("fontname1", font);
    for (const QString& box : ticked) {
        run.click(box);
    }
    QVERIFY(run.execute(30000));

    QCOMPARE(shown.size(), notices.size());
    const QString stickFonts = QDir::toNativeSeparators(drives.filePath("stick/font"));
    for (qsizetype i = 0; i < notices.size(); ++i) {
        const QRegularExpression pattern(noticePattern(notices[i], stickFonts, folder.path()));
        QVERIFY2(pattern.match(shown[i]).hasMatch(), qPrintable(shown[i]));
    }
    QVERIFY(run.prompts.messages.empty());
    QCOMPARE(run.prompts.warnings.size(), warning.isEmpty() ? 0u : 1u);
    if (!warning.isEmpty()) {
        QCOMPARE(QString::fromStdString(run.prompts.warnings[0]), warning);
        QCOMPARE(run.prompts.order, (std::vector<std::string>{"warning", "question"}));
    }
    // The question itself is the one the device step always asks.
    QCOMPARE(run.prompts.questions.size(), device.isEmpty() ? 0u : 1u);

    // What the notices claim is what happened on the stick and in the program folder.
    const QByteArray made = folder.read("ltn0.pgf");
    QVERIFY(made.size() > 10000);
    // The size line: the file's own size, and a Font Scale at which the converter makes a font
    // no larger than the PSP's (the other values as the window has them).
    const QRegularExpressionMatch size = QRegularExpression(kSizeLinePattern).match(shown[0]);
    if (size.hasMatch()) {
        QCOMPARE(size.captured(1).toLongLong(), static_cast<qint64>(made.size()));
        QProcess converter;
        converter.setWorkingDirectory(folder.path());
        converter.start(TESSAVINE_CONVERTER,
                        {font, "smaller.pgf", size.captured(2) + "h0.8", "b2.5i1.2"});
        QVERIFY(converter.waitForFinished(30000));
        const qint64 smaller = QFileInfo(folder.filePath("smaller.pgf")).size();
        QVERIFY2(smaller > 10000 && smaller <= 69108, qPrintable(QString::number(smaller)));
        QVERIFY(QFile::remove(folder.filePath("smaller.pgf")));
    }
    const QStringList onStick = QDir(drives.filePath("stick/font")).entryList(QDir::Files);
    const QStringList backups =
        QDir(folder.filePath("backup")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (copied) {
        QCOMPARE(onStick.size(),
                 1 + ticked.size() + (device == "old" && !ticked.contains("Check1(4)") ? 1 : 0));
        QCOMPARE(drives.read("stick/font/ltn0.pgf"), made);
        // A copy onto a stick without fonts leaves a backup too: a note of the slots it filled.
        QCOMPARE(backups.size(), 1);
        if (device == "new") {
            QCOMPARE(QDir(folder.filePath("backup/" + backups[0])).entryList(QDir::Files),
                     QStringList{"backup-info.txt"});
        }
        if (device == "old") {
            QVERIFY(shown.last().endsWith(
                QDir::toNativeSeparators(folder.filePath("backup/" + backups[0])) + "."));
            QCOMPARE(folder.read("backup/" + backups[0] + "/ltn0.pgf"), QByteArray("older"));
        }
    } else {
        QVERIFY(backups.isEmpty());
        QCOMPARE(onStick.size(), device == "old" ? 2 : 0);
        QVERIFY(device != "old" || drives.read("stick/font/ltn0.pgf") == "older");
    }
}

void NoticeTest::noticeStaysOutOfTheWayAndGoesAtAClick() {
    ProgramFolder folder(TESSAVINE_CONVERTER);
    QVERIFY(QFile::copy(TESSAVINE_FONTS_DIR "/Example.ttf", folder.filePath("Example.ttf")));
    RunningProgram run(folder);
    run.type("fontname1", "Example.ttf");
    QVERIFY(run.execute(30000));

    NoticeBalloon& balloon = run.program.notices();
    QTRY_VERIFY(balloon.isVisible());
    QVERIFY(balloon.text().startsWith("ltn0.pgf made from Example.ttf"));
    // The keyboard stays with the window: on Execute, as the click left it, and then in the
    // field the user goes to while the notice is shown.
    QCOMPARE(QApplication::focusWidget(), &run.window().executeButton());
    QCOMPARE(QApplication::activeWindow(), &run.window());
    run.type("blur1", "3");
    QCOMPARE(run.field("blur1").text(), QString("3"));
    QVERIFY(balloon.isVisible());
    // Outside the window's frame, so it covers none of its controls, and on the screen.
    const QRect frame = run.window().frameGeometry();
    QVERIFY2(!balloon.frameGeometry().intersects(frame), "the notice covers the window");
    QVERIFY(run.window().screen()->availableGeometry().contains(balloon.frameGeometry()));
    QVERIFY(balloon.width() <= frame.width());
    // Beside the window it speaks of, a few pixels from its frame, not elsewhere on the screen.
    const QRect place = balloon.frameGeometry();
    const int apart = std::max({place.top() - frame.bottom(), frame.top() - place.bottom(),
                                place.left() - frame.right(), frame.left() - place.right()});
    QVERIFY2(apart >= 1 && apart <= 12, qPrintable(QString("%1 px from the window").arg(apart)));
    // No control of the window was added for it.
    QVERIFY(run.window().findChild<NoticeBalloon*>() == nullptr);

    QTest::mouseClick(&balloon, Qt::LeftButton);
    QVERIFY(!balloon.isVisible());
    QCOMPARE(QApplication::focusWidget(), &run.field("blur1"));
    // It goes by itself, too, within a few seconds.
    balloon.showNotice("again");
    QVERIFY(balloon.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!balloon.isVisible(), 13000);
}

void NoticeTest::noticeNeverNarrowerThanItsText_data() {
    QTest::addColumn<int>("sideRoom");  // pixels left of and right of the window
    QTest::newRow("a narrow strip each side") << 70;
    QTest::newRow("no room at all") << 0;
}

void NoticeTest::noticeNeverNarrowerThanItsText() {
    // A window nearly as large as the screen: no room below or above it, and beside it less
    // than the notice's longest word needs.
    QFETCH(int, sideRoom);
    const QString longestWord = "/home/someone/tessavine/backup/2026-12-07_05-12-00.";
    QWidget anchor;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    anchor.setGeometry(screen.adjusted(sideRoom, 8, -sideRoom, -8));
    anchor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&anchor));
    NoticeBalloon balloon(anchor);
    balloon.showNotice(("3 fonts copied to /media/someone/PSP/font.\nThe fonts they replaced are "
                        "backed up in " +
                        longestWord)
                           .toStdString());
    QTRY_VERIFY(balloon.isVisible());
    const QRect place = balloon.frameGeometry();
    QVERIFY2(place.width() >= QFontMetrics(balloon.font()).horizontalAdvance(longestWord),
             qPrintable(QString("%1 px wide").arg(place.width())));
    QVERIFY(place.width() <= screen.width());
    QVERIFY(screen.contains(place));
    // Over the window's lower edge, not over its middle where the fields are.
    QVERIFY(place.top() > anchor.frameGeometry().center().y());
}

}  // namespace tessavine::testing

QTEST_MAIN(tessavine::testing::NoticeTest)
#include "notice_test.moc"
