#include "core/FileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qb {

QString joinPath(const QString& dir, const QString& name)
{
    return dir + QLatin1Char('/') + name;
}

QString resolveInDir(const QString& dir, const QString& name)
{
    const QString exact = joinPath(dir, name);
    if (QFileInfo::exists(exact))
        return exact;
    const QDir directory(dir.isEmpty() ? QStringLiteral("/") : dir);
    const QStringList entries =
        directory.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return joinPath(dir, entry);
    }
    return exact;
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

FileRead readWholeFile(const QString& path)
{
    FileRead result;
    const QFileInfo info(path);
    if (!info.exists())
        return result;
    result.exists = true;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        const QString reason = info.isDir() ? QStringLiteral("Is a directory") : file.errorString();
        result.failure = Failure::cannotOpen(path, reason);
        return result;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.failure = Failure::cannotOpen(path, file.errorString());
        return result;
    }
    result.bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return result;
}

MaybeFailure writeWholeFile(const QString& path, const std::string& bytes)
{
    QSaveFile file(path);
    // Without this, a read-only directory would make QSaveFile write in place.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return Failure::cannotCreate(path, file.errorString());
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Failure::cannotCreate(path, reason);
    }
    if (!file.commit())
        return Failure::cannotCreate(path, file.errorString());
    return std::nullopt;
}

bool removeFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    return QFile::remove(path);
}

} // namespace qb
