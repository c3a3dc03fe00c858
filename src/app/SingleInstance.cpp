#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>

namespace {
QString lockPath(const QString& name)
{
    // One lock per user: the name and the user's home folder make the file name.
    const QByteArray key = (name + QLatin1Char('|') + QDir::homePath()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    return QDir(QDir::tempPath()).filePath(QStringLiteral("qnrt100-%1.lock").arg(QString::fromLatin1(hash)));
}
}

SingleInstance::SingleInstance(const QString& name) : path(lockPath(name)), lock(path)
{
    // Only a lock whose process is gone is stale, however long a copy runs.
    lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    return lock.tryLock(0);
}
