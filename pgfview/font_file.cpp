#include "font_file.h"

#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <exception>
#include <vector>

#include "core/input_limits.h"

namespace tessavine::pgfview {

FontFileRead readFontFile(const QString& path) {
    FontFileRead result;
    const QFileInfo info(path);
    if (!info.isFile()) {
        result.problem = QString("it is not an ordinary file");
        return result;
    }
    if (static_cast<std::uint64_t>(info.size()) > kLargestPgfFileBytes) {
        result.problem = QString("it is %1 bytes long, more than the %2 bytes a PGF font can have")
                             .arg(info.size())
                             .arg(static_cast<qulonglong>(kLargestPgfFileBytes));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        result.problem = QString("it cannot be opened (%1)").arg(file.errorString());
        return result;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.size()));
    const qint64 got =
        file.read(reinterpret_cast<char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    result.bytes = bytes.size();
    try {
        result.font = std::make_shared<const pgf::PgfFile>(pgf::readPgf(bytes));
    } catch (const std::exception& error) {
        result.problem = QString::fromStdString(error.what());
    }
    return result;
}

}  // namespace tessavine::pgfview
