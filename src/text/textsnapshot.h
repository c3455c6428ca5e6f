#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QIODevice;

// A text store's text frozen at one moment, to be written out on another
// thread while editing goes on. Taking it must stay cheap on the interface
// thread even for a text of tens of megabytes, so nothing is copied line by
// line: lines still borrowed from the block their file was loaded into are
// referred to as runs of that block (which the snapshot keeps alive, and
// whose bytes never change), and only edited lines, and line ends that
// differ from the loaded ones, are copied. A text loaded and edited in a few
// places is then a handful of pieces.
class TTextSnapshot {
public:
    // Bytes of the text, line ends included.
    qint64 Size() const { return m_size; }
    int PieceCount() const { return int(m_pieces.size()); }
    // Calls write for every piece in order; stops at the first false.
    template <typename Write>
    bool ForEachPiece(Write&& write) const
    {
        for (const TPiece& piece : m_pieces) {
            const char* data = piece.data ? piece.data : m_owned.constData() + piece.offset;
            if (!write(data, piece.length))
                return false;
        }
        return true;
    }
    // The whole text in one array (tests, small texts).
    QByteArray Bytes() const;

private:
    friend class TCustomMemoSource;

    // Appends bytes that lie in a kept block, or copies bytes into the
    // snapshot's own array; adjacent pieces of one kind merge.
    void AddBorrowed(const char* data, qint64 length);
    void AddOwned(const char* data, qint64 length);

    struct TPiece {
        const char* data; // null: at offset in m_owned
        qint64 offset;
        qint64 length;
    };
    std::vector<TPiece> m_pieces;
    QByteArray m_owned;
    std::vector<std::shared_ptr<char[]>> m_blocks;
    qint64 m_size = 0;
};
