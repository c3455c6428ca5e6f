#pragma once

#include <QPointer>
#include <QString>

#include <vector>

class TCustomDCMemo;

// The global editor settings as the main window keeps them: the global
// editor options (view settings) and the text stores' shared options
// (editing settings), both kept in the settings store.
//
// The window's editor keeps UseGlobalOptions off, so that what the options
// dialog does not show (scroll bars, word wrap, a right click that moves
// the caret) stays its own. It follows the global options in everything
// the dialog shows instead: the option bits of the dialog's pages and
// every other setting the global options hold; its line numbers take the
// text colour and the gutter's edge the editor colour. Documents take the
// editing settings as text stores with UseGlobalOptions.
//
// On the first start nothing is stored yet (or what is stored cannot be
// read): the global options then take the editor's own settings (the
// application's defaults), so that the dialog opens on what the editor
// shows.
class TEditorSettings {
public:
    // Reads the stored settings (a stored value that cannot be read is
    // reported) and makes editor follow them from now on.
    explicit TEditorSettings(TCustomDCMemo& editor);
    ~TEditorSettings();
    TEditorSettings(const TEditorSettings&) = delete;
    TEditorSettings& operator=(const TEditorSettings&) = delete;

    // Writes both to the settings store.
    void Save() const;
    // The fold column (on in the global options) shows for a document that
    // can fold: called when the editor shows another document or the
    // document another scheme.
    void FollowDocument();
    // Another editor of the window (a second view) follows them as well,
    // until it is freed.
    void Follow(TCustomDCMemo& editor);

private:
    void Apply(TCustomDCMemo& editor) const;
    void ShowFoldColumn(TCustomDCMemo& editor) const;
    void ApplyAll();

    TCustomDCMemo& m_editor;
    std::vector<QPointer<TCustomDCMemo>> m_others;
    int m_listener = 0;
};
