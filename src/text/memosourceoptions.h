#pragma once

#include "component.h"
#include "memotypes.h"
#include "notifierlist.h"

#include <QString>

#include <functional>

// The editing settings shared by every text store whose UseGlobalOptions is
// set: such a store takes them over when the flag is set and again whenever
// they change. Kept in the settings store under kKey.
class TMemoSourceOptions : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool KeepTrailingBlanks READ KeepTrailingBlanks WRITE SetKeepTrailingBlanks)
    Q_PROPERTY(MemoTypes::TStringsOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString TabStops READ TabStops WRITE SetTabStops)
    Q_PROPERTY(QString Delimeters READ Delimeters WRITE SetDelimeters)
    Q_PROPERTY(int BlockIndent READ BlockIndent WRITE SetBlockIndent)
    Q_PROPERTY(bool CloseTags READ CloseTags WRITE SetCloseTags)
    Q_PROPERTY(bool CloseBrackets READ CloseBrackets WRITE SetCloseBrackets)

public:
    static inline const QString kKey = QStringLiteral("VodaRedu\\MemoSource\\");

    explicit TMemoSourceOptions(TComponent* owner = nullptr);

    // The one object the stores follow.
    static TMemoSourceOptions& Global();

    bool KeepTrailingBlanks() const { return m_keepTrailingBlanks; }
    void SetKeepTrailingBlanks(bool keep);
    TStringsOptions Options() const { return m_options; }
    // soUseTabCharacter and soSmartTab never hold together: the one newly
    // asked for wins, as in a text store.
    void SetOptions(TStringsOptions options);
    QString TabStops() const { return m_tabStops; }
    // Throws EInvalidTabRack and keeps the old list on bad text.
    void SetTabStops(const QString& tabStops);
    QString Delimeters() const { return m_delimeters; }
    void SetDelimeters(const QString& delimeters);
    int BlockIndent() const { return m_blockIndent; }
    // Negative values are stored as 0.
    void SetBlockIndent(int indent);
    // Typing ">" of a start tag puts its end tag behind the caret (on unless
    // set); "(", "[", "{" and quotes come with their partner (off unless
    // set). See structuretyping.h.
    bool CloseTags() const { return m_closeTags; }
    void SetCloseTags(bool on);
    bool CloseBrackets() const { return m_closeBrackets; }
    void SetCloseBrackets(bool on);

    // Several changes announced once, at the end of the outermost bracket.
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();

    // Copies every setting, announced as one change. The options are taken
    // as they are (source cannot hold both tab settings).
    void Assign(const TMemoSourceOptions& source);
    bool operator==(const TMemoSourceOptions& other) const;

    // Reads the settings store; a missing or unreadable value keeps the
    // current one.
    void Load();
    void Save() const;

    // Told after every announced change, after the stores took it over.
    int AddListener(std::function<void()> listener) { return m_listeners.Add(std::move(listener)); }
    void RemoveListener(int handle) { m_listeners.Remove(handle); }

private:
    void Changed();

    bool m_keepTrailingBlanks = false;
    TStringsOptions m_options;
    QString m_tabStops;
    QString m_delimeters;
    int m_blockIndent = 1;
    bool m_closeTags = true;
    bool m_closeBrackets = false;
    int m_updateCount = 0;
    bool m_changedDuringUpdate = false;
    TNotifierList<> m_listeners;
};
