#include "watched_font.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>
#include <vector>

#include "converter/pgf/pgf_read_error.h"

namespace tessavine::pgfview {
namespace {

constexpr int kSettleMs = 30;
constexpr int kPollMs = 400;
constexpr int kRetryMs = 150;
// A file that keeps failing to read this many times in a row while it is still changing is
// being written by someone; after that it is taken to be damaged.
constexpr int kMostRetries = 6;

}  // namespace

WatchedFont::WatchedFont(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &WatchedFont::read);
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, [this] {
        if (stampNow() != stamp_) {
            scheduleRead();
        }
    });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &WatchedFont::scheduleRead);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (stampNow() != stamp_) {
            scheduleRead();
        }
    });
}

void WatchedFont::open(const QString& path) {
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    if (!watcher_.directories().isEmpty()) {
        watcher_.removePaths(watcher_.directories());
    }
    path_ = QFileInfo(path).absoluteFilePath();
    retries_ = 0;
    font_.reset();
    stamp_ = {};
    const QString folder = QFileInfo(path_).absolutePath();
    if (QFileInfo(folder).isDir()) {
        watcher_.addPath(folder);
    }
    poll_.start();
    read();
}

WatchedFont::Stamp WatchedFont::stampNow() const {
    const QFileInfo info(path_);
    if (!info.isFile()) {
        return {};
    }
    return {true, info.size(), info.lastModified()};
}

void WatchedFont::scheduleRead() {
    settle_.start(kSettleMs);
}

void WatchedFont::rewatch() {
    if (QFileInfo(path_).isFile() && !watcher_.files().contains(path_)) {
        watcher_.addPath(path_);
    }
}

void WatchedFont::setState(State state, QString message) {
    state_ = state;
    message_ = std::move(message);
    if (state != State::Loaded) {
        font_.reset();
        fileBytes_ = 0;
    }
    emit changed();
}

void WatchedFont::read() {
    const QString name = QFileInfo(path_).fileName();
    const Stamp before = stampNow();
    stamp_ = before;
    rewatch();
    if (!before.exists) {
        retries_ = 0;
        const QString text =
            QFileInfo(path_).isDir()
                ? QString("%1 is a folder, not a font file. Open a .pgf file instead.").arg(path_)
                : QString(
                      "Waiting for %1 — there is no such file in %2 yet. Convert a font "
                      "and it shows here.")
                      .arg(name, QDir::toNativeSeparators(QFileInfo(path_).absolutePath()));
        setState(State::Waiting, text);
        return;
    }

    QFile file(path_);
    QString problem;
    std::vector<std::uint8_t> bytes;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QString("it cannot be opened (%1)").arg(file.errorString());
    } else {
        const QByteArray data = file.readAll();
        bytes.assign(data.begin(), data.end());
    }
    std::optional<pgf::PgfFile> font;
    if (problem.isEmpty()) {
        try {
            font = pgf::readPgf(bytes);
        } catch (const std::exception& error) {
            problem = QString::fromStdString(error.what());
        }
    }
    const Stamp after = stampNow();
    if (!problem.isEmpty() || after != before) {
        // A file that changed while it was read, or that fails while it is still fresh, is most
        // likely being written: look again shortly before calling it damaged.
        const bool fresh = before.modified.msecsTo(QDateTime::currentDateTime()) < 1000;
        if ((after != before || fresh) && retries_ < kMostRetries) {
            ++retries_;
            settle_.start(kRetryMs);
            if (state_ != State::Waiting) {
                setState(State::Waiting, QString("%1 is being replaced…").arg(name));
            }
            return;
        }
    }
    retries_ = 0;
    if (!problem.isEmpty()) {
        setState(State::Damaged,
                 QString("%1 is not a PSP font that can be shown: %2.\nConvert the font again, "
                         "or open or drop another .pgf file.")
                     .arg(QDir::toNativeSeparators(path_), problem));
        return;
    }
    font_ = std::move(font);
    fileBytes_ = bytes.size();
    state_ = State::Loaded;
    message_.clear();
    emit changed();
}

}  // namespace tessavine::pgfview
