// A new user's first conversion with the real converter and the bundled font: type the font's
// name, tick a slot, press Execute, and find the PGF files in the program folder.
#include <QFile>
#include <QTest>
#include <QTimer>

#include "running_program.h"

namespace tessavine::testing {

class FirstConversionTest : public QObject {
    Q_OBJECT

  private slots:
    void bundledFontConvertsWithTheInitialParameters();
};

void FirstConversionTest::bundledFontConvertsWithTheInitialParameters() {
    ProgramFolder folder;
    folder.removeConverter();
    QVERIFY(QFile::copy(TESSAVINE_CONVERTER, folder.filePath("ttf2pgf.exe")));
    QVERIFY(QFile::copy(TESSAVINE_FONTS_DIR "/Example.ttf", folder.filePath("Example.ttf")));

    RunningProgram run(folder);
    run.type("fontname1", "Example.ttf");
    run.tick(3);
    run.click("Command1");
    QTRY_VERIFY_WITH_TIMEOUT(!run.find<QTimer>("Timer1").isActive(), 30000);

    QCOMPARE(run.prompts.messages, std::vector<std::string>{});
    const QByteArray converted = folder.read("ltn0.pgf");
    QVERIFY(converted.size() > 1000);
    QCOMPARE(folder.read("ltn3.pgf"), converted);
}

}  // namespace tessavine::testing

QTEST_MAIN(tessavine::testing::FirstConversionTest)
#include "first_conversion_test.moc"
