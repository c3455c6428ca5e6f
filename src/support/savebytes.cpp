#include "savebytes.h"

bool SaveBytesSafely(const TSaveTarget& target, const QByteArray& bytes, QString* error)
{
    return SaveFileSafely(
        target,
        [&bytes](QIODevice& device, QString* reason) {
            if (device.write(bytes) == bytes.size())
                return true;
            if (reason)
                *reason = device.errorString();
            return false;
        },
        error);
}
