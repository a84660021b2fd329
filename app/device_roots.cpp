#include "app/device_roots.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

namespace tessavine {

namespace {

#if defined(Q_OS_WIN)
std::vector<std::string> driveLetters() {
    // a: and b: are floppy drives and c: the system; a PSP never shows up there.
    std::vector<std::string> roots;
    for (char letter = 'd'; letter <= 'z'; ++letter) {
        roots.push_back(std::string{letter, ':'});
    }
    return roots;
}
#else
std::vector<std::string> mountedMediaRoots() {
#if defined(Q_OS_MACOS)
    const std::vector<QString> mediaFolders = {"/Volumes"};
#else
    const std::vector<QString> mediaFolders = {"/media", "/run/media", "/mnt"};
#endif
    std::vector<QString> mountPoints;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) {
            mountPoints.push_back(volume.rootPath());
        }
    }
    return removableMediaRoots(mountPoints, mediaFolders);
}
#endif

}  // namespace

std::vector<std::string> deviceRootsFromList(const QString& list) {
    std::vector<std::string> roots;
    for (const QString& root : list.split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
        roots.push_back(root.toStdString());
    }
    return roots;
}

std::vector<std::string> removableMediaRoots(const std::vector<QString>& mountPoints,
                                             const std::vector<QString>& mediaFolders) {
    std::vector<std::string> roots;
    for (const QString& mountPoint : mountPoints) {
        const bool belowMediaFolder =
            std::any_of(mediaFolders.begin(), mediaFolders.end(), [&](const QString& folder) {
                return mountPoint.startsWith(folder + '/') && mountPoint.size() > folder.size() + 1;
            });
        if (belowMediaFolder) {
            roots.push_back(mountPoint.toStdString());
        }
    }
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

std::vector<std::string> candidateDeviceRoots() {
    if (qEnvironmentVariableIsSet(kDeviceRootsVariable)) {
        return deviceRootsFromList(qEnvironmentVariable(kDeviceRootsVariable));
    }
#if defined(Q_OS_WIN)
    return driveLetters();
#else
    return mountedMediaRoots();
#endif
}

}  // namespace tessavine
