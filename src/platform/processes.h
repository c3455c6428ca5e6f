#pragma once

#include "services.h"

#include <QString>
#include <QStringList>

// Programs the window runs: hidden, never waited for, their output and end
// heard later. Outside Windows a ".bat" file cannot be executed by itself,
// so it runs as a /bin/sh script. The services implement process runs with
// this; tests that want a real program run install it in the scripted fake.
//
// A watched run is the leader of a process group of its own (a job on
// Windows is not needed: taskkill walks the tree), so that Stop ends what it
// started too: a build script's compiler, a program's own children.
namespace Processes {

// How long a start may take before it counts as failed. Starting is one
// fork and exec, so this bounds a stall the caller can never otherwise see.
constexpr int kStartTimeoutMs = 5000;

// The output and the end are reported through watch, later, on the
// GUI thread; the standard input is a pipe the returned run writes to. The
// process is owned by nobody and frees itself once it has ended; it
// outlives whoever started it. Null, with the reason in error, when it
// could not be started.
std::shared_ptr<TServices::TProcessRun> Run(const QString& program, const QStringList& arguments,
                                            const QString& workingDir, const TServices::TProcessWatch& watch,
                                            QString& error);

} // namespace Processes
