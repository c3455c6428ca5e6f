#pragma once

// Establishes the parser state of every line of a file while the file is
// still being read, on a thread of its own, so that when the last byte is in
// the states are too and showing any place of the text costs one screen.
//
// The reader fills one block from its start and tells the pass how far it
// got; the pass walks the lines that are complete (a line end seen, and for
// a CR the byte after it) with a private copy of the parser, starting in the
// state every text starts in. It reads only bytes already written before the
// reader's announcement and writes only its own array: the two threads share
// nothing else.
//
// The result is a parse in one go from the top, only on another thread, so
// it equals the states the store would establish itself, with two limits the
// store applies when it takes them: the copy read the text in the encoding
// guessed from the first piece, so a wrong guess keeps only the lines before
// the first byte above 0x7F (where the encoding makes no difference); and
// the pass stops at the first very long line, which the store parses in its
// own resumable way.
//
// A pass still far from the end when the last byte is in shares the lines
// it has left with the reading thread: that thread parses the far half of
// them into the pass's tail while the pass walks up to it and stops there.

#include "linestructures.h"
#include "simpleparser.h"
#include "stateruns.h"
#include "tabstops.h"

#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// The states of the far lines of a text just read, established on the
// reading thread while the pass walks up to them (the store's
// ParseLoadTail). They start from a guess a few thousand lines before the
// first of them, so they hold only as far as they agree with the states
// the pass leads up to them; the store checks that as it takes them.
struct TLoadTail {
    int first = -1; // the line of the first state
    // The start state of each line and, last, the end state of the last
    // one, in the store parser's numbering.
    TStateRuns states;
    TLineStructures structures;
};

class TLoadStatePass {
public:
    // parser: a worker copy of the store's parser, set to the guessed
    // encoding; tabs: how the store expands tabs; longLine: a line at least
    // this long ends the pass (0: none does); structure: the lines' structure
    // (brackets, blocks, fold points) is summed up as well.
    TLoadStatePass(std::unique_ptr<TSimpleParser> parser, const TTabStops& tabs, int longLine, bool structure);
    ~TLoadStatePass();
    TLoadStatePass(const TLoadStatePass&) = delete;
    TLoadStatePass& operator=(const TLoadStatePass&) = delete;

    // The text starts at data; bytes [0, available) of it are written, of
    // size in all (which sizes the list of states once the first lines tell
    // how long they are). The first call starts the thread; data stays the
    // same for every call.
    void Arrived(const char* data, qint64 available, qint64 size);
    // Every byte of the text is in: size bytes from data.
    void Finished(const char* data, qint64 size);
    // Ends the pass early: the lines it reached keep their states (a load
    // that waited long enough takes those, a cancelled one none).
    void Stop();
    // Ends the pass at line (when it has not passed it yet), whose states
    // the tail then holds.
    void StopAt(int line) { m_stopAt = line; }
    // The lines the pass has walked so far.
    int Reached() const { return m_reached; }
    TLoadTail& Tail() { return m_tail; }
    // Milliseconds since the pass was made, as the file started to be read.
    qint64 Age() const;
    // Waits at most ms milliseconds for the pass to end; true once it has.
    bool WaitFor(int ms);
    // Waits for the pass to end. Afterwards: the start state of each line
    // the pass reached and, last, the end state of the last of them, in the
    // copy's numbering; empty when it reached none.
    TStateRuns& Wait();
    // The structure of the lines reached (after Wait), put in place on this
    // thread as the lines were walked, so that the store only swaps it in.
    TLineStructures& Structures() { return m_structures; }
    // Lines before the first one holding a byte above 0x7F (all of them
    // when none does).
    int PlainLines() const { return m_plainLines; }
    const TSimpleParser& Parser() const { return *m_parser; }
    // Where the text starts, as last announced.
    const char* Text() const { return m_data; }
    // The copy's numbering of states is taken over by the store's parser
    // before the states are used; the store drops them when its parser
    // changed meanwhile.
    void Discard() { m_discarded = true; }
    bool Discarded() const { return m_discarded; }

private:
    void Announce(const char* data, qint64 available, bool final);
    void Run();
    // Walks the lines; state: the end state of the last line reached.
    void Walk(quint32& state);
    // Where find hits first in [data, data + size): the offset, or size.
    using TFind = qint64 (*)(const char* data, qint64 size);
    // The first place at or after pos among the bytes in where find hits,
    // or -1; found remembers it, so that no byte is searched twice.
    struct TFound {
        qint64 at = -1;    // the occurrence, when >= 0
        qint64 clearTo = 0; // when at < 0: none of [..., clearTo)
    };
    qint64 Next(TFound& found, TFind find, qint64 pos, qint64 available) const;

    std::unique_ptr<TSimpleParser> m_parser;
    const TTabStops m_tabs;
    const int m_longLine;
    const char* m_data = nullptr;
    TStateRuns m_states;
    qint64 m_size = 0;
    const bool m_structure;
    TStructureBuilder m_builder;
    TLineStructures m_structures;
    int m_plainLines = 0;
    bool m_discarded = false;
    TLoadTail m_tail;
    std::atomic<int> m_reached{0};
    std::atomic<int> m_stopAt{INT_MAX};

    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::condition_variable m_ended;
    bool m_done = false;
    qint64 m_available = 0;
    bool m_final = false;
    std::atomic<bool> m_stop{false};
    const std::chrono::steady_clock::time_point m_started;
    std::thread m_thread;
};
