#pragma once

#include <QByteArray>
#include <QList>

#include <vector>

// An ordered list of 8-bit lines, the common face of the text store's line
// views and of plain string lists.
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    virtual QByteArray Get(int index) const = 0;
    virtual void Put(int index, const QByteArray& text) = 0;
    virtual void Insert(int index, const QByteArray& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}

    void Add(const QByteArray& text) { Insert(Count(), text); }
    QByteArray operator[](int index) const { return Get(index); }

    // The lines joined by CR LF, with a line end after every line.
    virtual QByteArray Text() const;
    // Replaces every line by the lines of text (CR LF, LF or CR ends).
    virtual void SetText(const QByteArray& text);
    void Assign(const TStrings& source);
    QList<QByteArray> ToList() const;

    // Splits text at CR LF, LF and lone CR; a final line end adds no line.
    static QList<QByteArray> SplitLines(const QByteArray& text);
};

// A plain list of lines.
class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(std::initializer_list<QByteArray> lines) : m_lines(lines) {}

    int Count() const override { return int(m_lines.size()); }
    QByteArray Get(int index) const override;
    void Put(int index, const QByteArray& text) override;
    void Insert(int index, const QByteArray& text) override;
    void Delete(int index) override;
    void Clear() override { m_lines.clear(); }

private:
    std::vector<QByteArray> m_lines;
};
