#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QSplitter;
class TCustomDCMemo;
class TCustomMemoSource;

// "Split View": a second editor control beside the window's editor, on the
// same text store (never a copy of the document): both show the same text,
// an edit in one shows at once in the other, and each keeps its own top
// line, caret and selection (the control with the focus has the store's;
// the other keeps its own parked, see TParkedPlace). Switching tabs shows
// the new document in both, each where it last stood in it.
//
// The second control is made by the window (so that it is set up, and
// reports, as the first one does) and freed when the split closes.
class TSplitView : public QObject {
    Q_OBJECT

public:
    using TMakeView = std::function<TCustomDCMemo*(QWidget* parent)>;

    // Puts first into a splitter of its own, in first's place.
    TSplitView(TCustomDCMemo& first, TMakeView makeSecond, QObject* parent = nullptr);

    bool IsOpen() const;
    // Opens the second control on the first one's store and place and
    // gives it the focus.
    void Open();
    // Closes the second control; the first takes the focus and its own
    // caret back.
    void Close();

    TCustomDCMemo* First() const { return &m_first; }
    TCustomDCMemo* Second() const;
    // The control the user worked in last (the first unless the split is
    // open).
    TCustomDCMemo* ActiveView() const;
    QSplitter* Splitter() const { return m_splitter; }

    // Shows source in both controls: the active one first, so that it keeps
    // the store's caret.
    void Show(TCustomMemoSource* source);
    void SetEnabled(bool enabled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TCustomDCMemo& m_first;
    TMakeView m_makeSecond;
    QSplitter* m_splitter = nullptr;
    QPointer<TCustomDCMemo> m_second;
    QPointer<TCustomDCMemo> m_active;
};
