#pragma once
// A directory named by the bytes the system gives, usable through Qt's file
// functions even where those bytes are not UTF-8: Qt would replace them and so
// look in, or write to, another folder. Such a directory is reached through its
// descriptor under /proc/self/fd instead.
#include "core/Failure.h"

#include <QByteArray>
#include <QString>

namespace qb {

class NativeDir {
  public:
    NativeDir() = default;
    ~NativeDir();
    NativeDir(const NativeDir&) = delete;
    NativeDir& operator=(const NativeDir&) = delete;

    // The current directory; false, with errno set, when it was deleted or
    // cannot be read.
    bool openCurrent();
    // A directory given on the command line, relative to the current one;
    // false, with errno set, when there is none by that name.
    bool openNamed(const QByteArray& name, const NativeDir& current);

    // What Qt's functions are given.
    const QString& path() const { return m_path; }
    // The failure as the user should read it, with the directory's own name.
    Failure shown(Failure failure) const;

  private:
    bool open(const QByteArray& absolute, int flags);

    QByteArray m_bytes; // absolute
    QString m_path;
    int m_fd = -1;
};

// `text` with every directory reached through /proc/self/fd/N named by its own
// name again, as the user knows it (bytes that are not UTF-8 shown as "�").
QString withRealFolderNames(const QString& text);

} // namespace qb
