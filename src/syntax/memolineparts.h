#pragma once

#include "memooption.h"
#include "penbrush.h"

#include <QObject>
#include <QString>

#include <functional>

// The small persistent parts of the editor's settings that say how lines
// are decorated: special symbols, separator lines and the caret line's
// highlight. The editor control holds one of each, and so do the global
// editor options, which the controls copy them from; that is why they live
// below the view. Each tells its holder when one of its values changes.
class TMemoPersistent : public QObject {
    Q_OBJECT

public:
    explicit TMemoPersistent(QObject* parent = nullptr) : QObject(parent) {}

    std::function<void()> OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
};

// How line ends, the text end, blanks and tabs are shown with
// moDrawSpecialSymbols.
class TSpecialSymbols : public TMemoPersistent {
    Q_OBJECT
    Q_PROPERTY(QString EOLString READ EOLString WRITE SetEOLString)
    Q_PROPERTY(QString EOFString READ EOFString WRITE SetEOFString)
    Q_PROPERTY(QString SpaceChar READ SpaceChar WRITE SetSpaceChar)
    Q_PROPERTY(QString TabChar READ TabChar WRITE SetTabChar)

public:
    Q_INVOKABLE explicit TSpecialSymbols(QObject* parent = nullptr);

    QString EOLString() const { return m_eol; }
    void SetEOLString(const QString& text);
    QString EOFString() const { return m_eof; }
    void SetEOFString(const QString& text);
    // One character each; empty shows blanks and tabs as they are.
    QString SpaceChar() const { return m_space; }
    void SetSpaceChar(const QString& text);
    QString TabChar() const { return m_tab; }
    void SetTabChar(const QString& text);

    void Assign(const TSpecialSymbols& source);
    bool operator==(const TSpecialSymbols& other) const;

private:
    QString m_eol;
    QString m_eof;
    QString m_space;
    QString m_tab;
};

// The lines drawn under text lines or wrapped rows.
class TLineSeparator : public TMemoPersistent {
    Q_OBJECT
    Q_PROPERTY(MemoOptionTypes::TSeparatorOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(TPen Pen READ Pen WRITE SetPen)

public:
    Q_INVOKABLE explicit TLineSeparator(QObject* parent = nullptr) : TMemoPersistent(parent) {}

    TSeparatorOptions Options() const { return m_options; }
    void SetOptions(TSeparatorOptions options);
    TPen Pen() const { return m_pen; }
    void SetPen(const TPen& pen);

    void Assign(const TLineSeparator& source);
    bool operator==(const TLineSeparator& other) const;

private:
    TSeparatorOptions m_options;
    TPen m_pen;
};

// The frame and fill of the caret line while the control has the focus.
class TLineHighlight : public TMemoPersistent {
    Q_OBJECT
    Q_PROPERTY(TPen Pen READ Pen WRITE SetPen)
    Q_PROPERTY(TBrush Brush READ Brush WRITE SetBrush)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    Q_INVOKABLE explicit TLineHighlight(QObject* parent = nullptr);

    TPen Pen() const { return m_pen; }
    void SetPen(const TPen& pen);
    TBrush Brush() const { return m_brush; }
    void SetBrush(const TBrush& brush);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    void Assign(const TLineHighlight& source);
    bool operator==(const TLineHighlight& other) const;

private:
    TPen m_pen;
    TBrush m_brush;
    bool m_visible = false;
};
