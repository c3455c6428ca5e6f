#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

// The files under a folder, for Quick Open. The folder is walked on a
// worker thread, so that a large tree never holds up the window; the files
// of the last finished walk stay at hand meanwhile.
//
// The walk leaves out hidden files and folders and the folders that hold
// what tools generate or fetch (".git", "target", "build", "node_modules",
// tucked away in the folder panel too), follows no symbolic link to a
// folder (so it cannot go round in circles) and stops after kMaxFiles
// files.
class TQuickOpenIndex : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxFiles = 200000;

    explicit TQuickOpenIndex(QObject* parent = nullptr);
    ~TQuickOpenIndex() override;

    // Starts a walk of root; a walk still going for an earlier call is
    // dropped. An empty root empties the index.
    void Rebuild(const QString& root);
    bool Walking() const { return m_walking; }
    QString Root() const { return m_root; }
    // The files of the last finished walk of Root(), full paths with "/".
    const QStringList& Files() const { return m_files; }

    // Whether a folder of this name is left out of walks (besides hidden
    // ones).
    static bool Tucked(const QString& folderName);
    // The walk itself, for any thread: stops early (with what it found)
    // once cancel is set.
    static QStringList Walk(const QString& root, const std::atomic<bool>& cancel);

signals:
    // A walk finished; Files() holds what it found.
    void Ready();

private:
    QString m_root;
    QStringList m_files;
    bool m_walking = false;
    // The running walk's flag; set to stop it.
    std::shared_ptr<std::atomic<bool>> m_cancel;
    int m_walk = 0;
};
