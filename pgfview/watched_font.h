#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "pgf/pgf_reader.h"

namespace tessavine::pgfview {

// A PGF file kept open: read again whenever it changes on disk. The converter writes a temporary
// file and renames it over the old one, which ends the watch on the old file, so the folder is
// watched too and the file's watch renewed after every change; a slow poll catches anything the
// platform's notifications miss.
class WatchedFont : public QObject {
    Q_OBJECT

  public:
    enum class State {
        None,     // nothing opened yet
        Waiting,  // no file at the path, or one being written
        Loaded,
        Damaged,  // a file that is no PGF font or is damaged
    };

    explicit WatchedFont(QObject* parent = nullptr);

    // Starts watching the path; the font is read at once, in the background, and again whenever
    // it changes. Until the first read is done the state is Waiting.
    void open(const QString& path);

    State state() const { return state_; }
    QString path() const { return path_; }
    // Loaded: the font and its size in bytes.
    const pgf::PgfFile* font() const { return font_.get(); }
    std::size_t fileBytes() const { return fileBytes_; }
    // Waiting or Damaged: what to tell the user.
    QString message() const { return message_; }

  signals:
    // The state, the font or the message changed.
    void changed();

  private:
    struct Stamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
    };
    // What a read in the background found.
    struct ReadResult {
        QString path;
        Stamp before;
        std::shared_ptr<const pgf::PgfFile> font;
        QString problem;  // empty when the font was read
        std::size_t bytes = 0;
    };
    Stamp stampNow() const;
    void scheduleRead();
    void read();
    void finishRead();
    void rewatch();
    void setState(State state, QString message);

    QString path_;
    QFileSystemWatcher watcher_;
    QTimer settle_;  // gathers the burst of notifications one replacement sends
    QTimer poll_;
    Stamp stamp_;
    QFutureWatcher<std::shared_ptr<const ReadResult>> reading_;
    bool readAgain_ = false;
    int retries_ = 0;
    State state_ = State::None;
    QString message_;
    std::shared_ptr<const pgf::PgfFile> font_;
    std::size_t fileBytes_ = 0;
};

}  // namespace tessavine::pgfview
