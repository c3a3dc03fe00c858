#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>

namespace {
QString lockPath(const QString& name)
{
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir(QDir::tempPath()).filePath(QStringLiteral("qnrt100-%1-%2.lock").arg(qEnvironmentVariable("USER"),
                                                                                   QString::fromLatin1(hash)));
}
}

SingleInstance::SingleInstance(const QString& name) : lock(lockPath(name))
{
    // Only a lock whose process is gone is stale, however long a copy runs.
    lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    return lock.tryLock(0);
}
