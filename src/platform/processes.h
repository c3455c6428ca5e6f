#pragma once

#include "services.h"

#include <QString>
#include <QStringList>

// Programs the window starts: hidden, never waited for. Outside Windows a
// ".bat" file cannot be executed by itself, so it runs as a /bin/sh script.
// The services implement process start with these; tests that want a real
// program run install them in the scripted fake.
namespace Processes {

// How long a start may take before it counts as failed. Starting is one
// fork and exec, so this bounds a stall the caller can never otherwise see.
constexpr int kStartTimeoutMs = 5000;

// Detached: nothing of the program is heard again. False, with the reason in
// error, when it could not be started.
bool Start(const QString& program, const QStringList& arguments, QString& error);

// Watched: the output and the end are reported through watch, later, on the
// GUI thread. The process is owned by nobody and frees itself once it has
// ended; it outlives whoever started it.
bool Run(const QString& program, const QStringList& arguments, const QString& workingDir,
         const TServices::TProcessWatch& watch, QString& error);

} // namespace Processes
