#include "watched_font.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <vector>

#include "font_file.h"
#include "pgfview_shared/read_verdict.h"
#include "shown_name.h"

namespace tessavine::pgfview {
namespace {

constexpr int kSettleMs = 30;
constexpr int kPollMs = 400;

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
    connect(&reading_, &QFutureWatcher<std::shared_ptr<const ReadResult>>::finished, this,
            &WatchedFont::finishRead);
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
    setState(State::Waiting, QString("Reading %1…").arg(shownName(QFileInfo(path_).fileName())));
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
    const QString name = shownName(QFileInfo(path_).fileName());
    const QString shownPath = shownName(path_);
    const Stamp before = stampNow();
    stamp_ = before;
    rewatch();
    if (!before.exists) {
        retries_ = 0;
        const QString text =
            QFileInfo(path_).isDir()
                ? QString("%1 is a folder, not a font file. Open a .pgf file instead.")
                      .arg(shownPath)
                : QString::fromStdString(pgfview_shared::waitingText(
                      name.toStdString(),
                      shownName(QDir::toNativeSeparators(QFileInfo(path_).absolutePath()))
                          .toStdString()));
        setState(State::Waiting, text);
        return;
    }

    if (reading_.isRunning()) {
        readAgain_ = true;  // read once more when this read is done
        return;
    }
    // Reading a large or hostile file can take a while; the window stays usable meanwhile.
    reading_.setFuture(QtConcurrent::run([path = path_, before] {
        auto result = std::make_shared<ReadResult>();
        result->path = path;
        result->before = before;
        FontFileRead read = readFontFile(path);
        result->font = std::move(read.font);
        result->problem = read.problem;
        result->bytes = read.bytes;
        return std::shared_ptr<const ReadResult>(result);
    }));
}

void WatchedFont::finishRead() {
    const std::shared_ptr<const ReadResult> result = reading_.result();
    if (result->path != path_ || readAgain_) {
        readAgain_ = false;
        read();  // a newer file or another path is waiting
        return;
    }
    const QString name = shownName(QFileInfo(path_).fileName());
    const Stamp& before = result->before;
    const QString& problem = result->problem;
    const Stamp after = stampNow();
    // A file that changed while it was read, or that fails while it is still fresh, is most
    // likely being written: look again shortly before calling it damaged.
    const bool fresh = before.modified.msecsTo(QDateTime::currentDateTime()) < 1000;
    switch (pgfview_shared::judgeRead(!problem.isEmpty(), after != before, fresh, retries_)) {
        case pgfview_shared::ReadVerdict::LookAgain:
            ++retries_;
            settle_.start(pgfview_shared::kRetryMilliseconds);
            if (state_ != State::Waiting) {
                setState(State::Waiting,
                         QString::fromStdString(pgfview_shared::replacingText(name.toStdString())));
            }
            return;
        case pgfview_shared::ReadVerdict::Damaged:
            retries_ = 0;
            setState(State::Damaged, QString::fromStdString(pgfview_shared::damagedText(
                                         shownName(QDir::toNativeSeparators(path_)).toStdString(),
                                         problem.toStdString())));
            return;
        case pgfview_shared::ReadVerdict::Show:
            retries_ = 0;
            break;
    }
    font_ = result->font;  // shared, not copied: a font may be large
    fileBytes_ = result->bytes;
    state_ = State::Loaded;
    message_.clear();
    emit changed();
}

}  // namespace tessavine::pgfview
