// Walking a folder for Quick Open on the global thread pool. The result is
// handed back to the interface thread by a queued call, which is dropped
// when the index is gone or a newer walk was started meanwhile.

#include "quickopenindex.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>
#include <functional>
#include <vector>

TQuickOpenIndex::TQuickOpenIndex(QObject* parent) : QObject(parent) {}

TQuickOpenIndex::~TQuickOpenIndex()
{
    if (m_cancel)
        m_cancel->store(true);
}

bool TQuickOpenIndex::Tucked(const QString& folderName)
{
    static const QStringList kTucked = {QStringLiteral(".git"), QStringLiteral("target"), QStringLiteral("build"),
                                        QStringLiteral("node_modules")};
    return kTucked.contains(folderName);
}

QStringList TQuickOpenIndex::Walk(const QString& root, const std::atomic<bool>& cancel)
{
    QStringList files;
    // Folders still to read, depth first; the files of one folder are
    // listed before its subfolders are entered.
    std::vector<QString> folders{QDir::cleanPath(QDir::fromNativeSeparators(root))};
    while (!folders.empty() && !cancel.load(std::memory_order_relaxed) && files.size() < kMaxFiles) {
        const QString folder = folders.back();
        folders.pop_back();
        QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        std::vector<QString> subfolders;
        while (it.hasNext() && files.size() < kMaxFiles) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (info.fileName().startsWith(u'.'))
                continue;
            if (info.isDir()) {
                if (!info.isSymLink() && !Tucked(info.fileName()))
                    subfolders.push_back(info.filePath());
            } else {
                files.append(info.filePath());
            }
        }
        // Read in name order: the last pushed is read first.
        std::sort(subfolders.begin(), subfolders.end(), std::greater<>());
        folders.insert(folders.end(), subfolders.begin(), subfolders.end());
    }
    return files;
}

void TQuickOpenIndex::Rebuild(const QString& root)
{
    if (m_cancel)
        m_cancel->store(true);
    m_cancel.reset();
    const int walk = ++m_walk;
    if (root != m_root) {
        m_files.clear();
        m_root = root;
    }
    if (root.isEmpty()) {
        m_walking = false;
        emit Ready();
        return;
    }
    m_walking = true;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancel;
    QPointer<TQuickOpenIndex> self(this);
    QThreadPool::globalInstance()->start([self, cancel, root, walk] {
        QStringList files = Walk(root, *cancel);
        if (cancel->load())
            return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, walk, files = std::move(files)]() mutable {
                if (!self || self->m_walk != walk)
                    return;
                self->m_files = std::move(files);
                self->m_walking = false;
                self->m_cancel.reset();
                emit self->Ready();
            },
            Qt::QueuedConnection);
    });
}
