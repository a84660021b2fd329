#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <string>

namespace tessavine::testing {

// A temporary program folder holding the stand-in converter as ttf2pgf.exe.
class ProgramFolder {
  public:
    ProgramFolder();

    QString path() const { return folder_.path(); }
    std::string nativePath() const;
    QString filePath(const QString& name) const { return folder_.filePath(name); }

    bool exists(const QString& name) const;
    QByteArray read(const QString& name) const;
    void write(const QString& name, const QByteArray& bytes) const;
    void removeConverter() const;

    // invocation.txt of the stand-in converter: its working directory, then its arguments.
    QStringList invocation() const;

  private:
    QTemporaryDir folder_;
};

}  // namespace tessavine::testing
