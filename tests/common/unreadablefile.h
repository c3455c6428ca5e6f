#pragma once

#include <QFile>
#include <QString>

#include <unistd.h>

// Makes path a file that exists and cannot be read: by its permissions, and
// for root (whom permissions do not stop) as a link to a kernel file that
// takes writes only. False when neither is possible here.
inline bool MakeUnreadableFile(const QString& path)
{
    if (::geteuid() != 0) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("secret\n") < 0)
            return false;
        file.close();
        return QFile::setPermissions(path, QFileDevice::WriteOwner);
    }
    for (const char* target : {"/sys/bus/cpu/uevent", "/sys/bus/platform/uevent", "/sys/bus/pci/rescan"}) {
        if (QFile::exists(QString::fromLatin1(target)))
            return QFile::link(QString::fromLatin1(target), path);
    }
    return false;
}
