#pragma once

#include <QtGlobal>

// Watches a file being loaded into a store that shows it as it comes in:
// told after each piece, with the lines read so far already in the store, so
// that whoever shows the store can paint them, report the progress and let
// the user cancel. The load runs in the caller's thread; whatever the watch
// lets happen in between (painting, scrolling) must not edit the store.
class TLoadWatch {
public:
    virtual ~TLoadWatch() = default;
    // done of total bytes are read; false cancels the load.
    virtual bool Arrived(qint64 done, qint64 total) = 0;
};
