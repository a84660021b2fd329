// Where the device scan looks for a PSP.
#include <QDir>
#include <QTest>

#include "app/device_roots.h"

namespace tessavine::testing {

using Roots = std::vector<std::string>;

class DeviceRootsTest : public QObject {
    Q_OBJECT

  private slots:
    void listFromTheEnvironmentKeepsItsOrder();
    void mediaBelowTheMediaFoldersAreSorted();
    void environmentVariableReplacesTheScan();
};

void DeviceRootsTest::listFromTheEnvironmentKeepsItsOrder() {
    const QChar separator = QDir::listSeparator();
    const QString list = QStringList({"/z", "/media/a b", "", "/b"}).join(separator);
    QCOMPARE(deviceRootsFromList(list), (Roots{"/z", "/media/a b", "/b"}));
    QCOMPARE(deviceRootsFromList(""), Roots{});
    QCOMPARE(deviceRootsFromList(QString(separator)), Roots{});
}

void DeviceRootsTest::mediaBelowTheMediaFoldersAreSorted() {
    const std::vector<QString> mounts = {"/",           "/media/u/PSP",      "/home",
                                         "/mnt/stick",  "/run/media/u/CARD", "/media",
                                         "/mediabox/x", "/media/u/Backup",   "/mnt/stick"};
    QCOMPARE(removableMediaRoots(mounts, {"/media", "/run/media", "/mnt"}),
             (Roots{"/media/u/Backup", "/media/u/PSP", "/mnt/stick", "/run/media/u/CARD"}));
}

void DeviceRootsTest::environmentVariableReplacesTheScan() {
    const QString list = QStringList({"/first", "/second"}).join(QDir::listSeparator());
    qputenv(kDeviceRootsVariable, list.toUtf8());
    const Roots roots = candidateDeviceRoots();
    qunsetenv(kDeviceRootsVariable);
    QCOMPARE(roots, (Roots{"/first", "/second"}));
}

}  // namespace tessavine::testing

QTEST_MAIN(tessavine::testing::DeviceRootsTest)
#include "device_roots_test.moc"
