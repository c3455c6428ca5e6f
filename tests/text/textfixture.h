#pragma once

#include "memosource.h"
#include "sourcestrings.h"

#include <QList>

#include <vector>

// The lines of a store, tab-expanded.
inline QList<QByteArray> Lines(TCustomMemoSource& source)
{
    return source.Lines().ToList();
}

// Records every change notice a store sends to an attached view.
struct ChangeLog {
    explicit ChangeLog(TCustomMemoSource& source) : m_source(source)
    {
        m_handle = source.AttachView([this](const TMemoChange& change) { changes.push_back(change); });
    }
    ~ChangeLog() { m_source.DetachView(m_handle); }

    quint16 last() const { return changes.empty() ? 0 : changes.back().flags; }

    std::vector<TMemoChange> changes;

private:
    TCustomMemoSource& m_source;
    int m_handle = 0;
};
