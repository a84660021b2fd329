#include "program_folder.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace tessavine::testing {

ProgramFolder::ProgramFolder() {
    if (!folder_.isValid() ||
        !QFile::copy(TESSAVINE_FAKE_CONVERTER, folder_.filePath("ttf2pgf.exe"))) {
        throw std::runtime_error("cannot set up a program folder with the stand-in converter");
    }
}

std::string ProgramFolder::nativePath() const {
    return QDir::toNativeSeparators(folder_.path()).toStdString();
}

bool ProgramFolder::exists(const QString& name) const {
    return QFile::exists(filePath(name));
}

QByteArray ProgramFolder::read(const QString& name) const {
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

void ProgramFolder::write(const QString& name, const QByteArray& bytes) const {
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + name.toStdString());
    }
}

void ProgramFolder::removeConverter() const {
    QFile::remove(filePath("ttf2pgf.exe"));
}

QStringList ProgramFolder::invocation() const {
    QStringList lines = QString::fromUtf8(read("invocation.txt")).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

}  // namespace tessavine::testing
