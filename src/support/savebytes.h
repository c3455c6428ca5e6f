#pragma once

#include "filesaver.h"

#include <QByteArray>
#include <QString>

// Writes bytes that are ready in memory to target through SaveFileSafely, so
// that a full disk or a failed write leaves the file that was there. False,
// with the reason in *error, on failure.
bool SaveBytesSafely(const TSaveTarget& target, const QByteArray& bytes, QString* error);
