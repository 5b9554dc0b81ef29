// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileIo.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace fileio {

namespace {
QString qtPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }
std::string describe(const std::filesystem::path& path, const QString& why) {
    return path.string() + ": " + why.toStdString();
}
}  // namespace

Status readFile(const std::filesystem::path& path, std::string& bytes) {
    QFile file(qtPath(path));
    if (!file.open(QIODevice::ReadOnly)) return Status::error(describe(path, file.errorString()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) return Status::error(describe(path, file.errorString()));
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return Status::ok();
}

Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    QSaveFile file(qtPath(path));
    if (!file.open(QIODevice::WriteOnly)) return Status::error(describe(path, file.errorString()));
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Status::error(describe(path, why));
    }
    if (!file.commit()) return Status::error(describe(path, file.errorString()));
    return Status::ok();
}

}  // namespace fileio
