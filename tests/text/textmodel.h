#pragma once

// A plain model of a text store's lines for random edit scripts: each
// operation as the store defines it, on a vector of lines that carry their
// line end and edit mark. The random edit test and the editing fuzzer replay
// the same operations on a store and on this model and compare.

#include "memosource.h"

#include <QByteArray>

#include <algorithm>
#include <string>
#include <vector>

struct ModelLine {
    std::string text;
    quint8 end = TStringItem::kEndDocument;
    bool edited = false;
};

struct TextModel {
    std::vector<ModelLine> lines;
    int line = 0;
    int column = 0;
    quint8 documentEnd = TStringItem::kEndCrLf;

    int Count() const { return int(lines.size()); }

    // Reads a file the plain way: CR LF, CR and LF each end a line.
    void Load(const std::string& bytes)
    {
        lines.clear();
        size_t start = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\r' && bytes[i] != '\n')
                continue;
            quint8 end = bytes[i] == '\n' ? TStringItem::kEndLf : TStringItem::kEndCr;
            const std::string text = bytes.substr(start, i - start);
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                end = TStringItem::kEndCrLf;
                ++i;
            }
            lines.push_back({text, end, false});
            start = i + 1;
        }
        if (start < bytes.size())
            lines.push_back({bytes.substr(start), TStringItem::kEndNone, false});
        if (!lines.empty() && lines[0].end != TStringItem::kEndNone)
            documentEnd = lines[0].end;
        for (ModelLine& l : lines) {
            if (l.end == documentEnd)
                l.end = TStringItem::kEndDocument;
        }
    }

    static const char* Bytes(quint8 end)
    {
        return end == TStringItem::kEndCrLf ? "\r\n" : end == TStringItem::kEndCr ? "\r" : end == TStringItem::kEndLf ? "\n" : "";
    }

    QByteArray Saved() const
    {
        QByteArray bytes;
        for (int i = 0; i < Count(); ++i) {
            const ModelLine& l = lines[size_t(i)];
            quint8 end = l.end == TStringItem::kEndDocument ? documentEnd : l.end;
            if (end == TStringItem::kEndNone && i + 1 < Count())
                end = documentEnd;
            bytes += QByteArray::fromStdString(l.text) + Bytes(end);
        }
        return bytes;
    }

    QByteArray Text() const
    {
        QByteArray text;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                text += "\r\n";
            text += QByteArray::fromStdString(lines[i].text);
        }
        return text;
    }

    void Materialize()
    {
        if (lines.empty())
            lines.push_back({"", TStringItem::kEndNone, false});
        const int keepColumn = column;
        const int keepLine = line;
        while (Count() <= keepLine) {
            line = Count() - 1;
            column = int(lines.back().text.size());
            LineBreak();
        }
        line = keepLine;
        column = keepColumn;
    }

    void Insert(const std::string& s)
    {
        if (s.empty())
            return;
        Materialize();
        ModelLine& l = lines[size_t(line)];
        if (int(l.text.size()) < column)
            l.text.append(size_t(column) - l.text.size(), ' ');
        l.text.insert(size_t(column), s);
        l.edited = true;
    }

    void Delete(int count)
    {
        if (line >= Count() || column >= int(lines[size_t(line)].text.size()))
            return;
        lines[size_t(line)].text.erase(size_t(column), size_t(count));
        lines[size_t(line)].edited = true;
    }

    // The head keeps its text up to the caret and ends the document's way;
    // the tail keeps the line's end. A part whose text is unchanged keeps
    // the line's edit mark.
    void LineBreak()
    {
        Materialize();
        ModelLine& head = lines[size_t(line)];
        const size_t at = std::min(size_t(column), head.text.size());
        ModelLine tail{head.text.substr(at), head.end, at > 0 || head.edited};
        if (at < head.text.size())
            head.edited = true;
        head.text.erase(at);
        head.end = TStringItem::kEndDocument;
        lines.insert(lines.begin() + line + 1, tail);
    }

    void Join()
    {
        if (line + 1 >= Count())
            return;
        ModelLine& head = lines[size_t(line)];
        const ModelLine tail = lines[size_t(line) + 1];
        column = int(head.text.size());
        const bool edited = (!head.text.empty() && !tail.text.empty()) || (head.text.empty() ? tail.edited : head.edited);
        head.text += tail.text;
        head.end = tail.end;
        head.edited = edited;
        lines.erase(lines.begin() + line + 1);
    }

    void Move(int dLines, int dColumns, bool keepTrailing)
    {
        dLines = std::max(dLines, -line);
        dColumns = std::max(dColumns, -column);
        if (line + dLines >= Count())
            dLines = std::max(0, Count() - 1) - line;
        if (dLines == 0 && dColumns == 0)
            return;
        if (dLines != 0 && !keepTrailing && line < Count() && lines[size_t(line)].edited) {
            std::string& text = lines[size_t(line)].text;
            while (!text.empty() && uchar(text.back()) <= 32)
                text.pop_back();
        }
        line += dLines;
        column += dColumns;
    }

    // Lines.Put, Insert and Delete, built as the store builds them from the
    // operations; caret and selection stay where they were.
    void PutLine(int i, const std::string& s)
    {
        const int keepLine = line, keepColumn = column;
        line = i;
        column = 0;
        Delete(int(lines[size_t(i)].text.size()));
        Insert(s);
        line = keepLine;
        column = keepColumn;
    }

    void InsertLine(int i, const std::string& s)
    {
        const int keepLine = line, keepColumn = column;
        if (Count() == 0) {
            line = column = 0;
            Materialize();
        } else if (i < Count()) {
            line = i;
            column = 0;
            LineBreak();
        } else {
            line = Count() - 1;
            column = int(lines.back().text.size());
            LineBreak();
            line = Count() - 1;
            column = 0;
        }
        Insert(s);
        line = keepLine;
        column = keepColumn;
    }

    void DeleteLine(int i)
    {
        const int keepLine = line, keepColumn = column;
        line = i;
        column = 0;
        Delete(int(lines[size_t(i)].text.size()));
        if (i + 1 < Count()) {
            Join();
        } else if (i > 0) {
            line = i - 1;
            Join();
        } else {
            lines.clear();
        }
        line = keepLine;
        column = keepColumn;
    }
};
