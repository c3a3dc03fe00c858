#pragma once

#include <QLockFile>
#include <QString>

// Lets one copy of the program run per user: a lock file named from the application title in the
// temporary folder, held while the program runs. A lock left by a copy that crashed is taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& name);
    // False when another running copy holds the lock.
    bool acquire();
    QString lockFileName() const { return path; }

private:
    QString path;
    QLockFile lock;
};
