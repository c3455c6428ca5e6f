#include "findinfiles.h"

#include "ansi.h"
#include "documentnames.h"
#include "filereplace.h"
#include "memosource.h"
#include "memosourceoptions.h"
#include "regularfile.h"
#include "services.h"
#include "textcodec.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTimer>

#include <map>

namespace {

// How often the pane is told how far a running search got.
constexpr int kProgressMs = 200;

QString number(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

QString files(qint64 count)
{
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(number(count));
}

} // namespace

TFindInFiles::TFindInFiles(TSearchResultsPane* pane, QObject* parent) : QObject(parent), m_pane(pane)
{
    m_progress = new QTimer(this);
    m_progress->setInterval(kProgressMs);
    connect(m_progress, &QTimer::timeout, this, &TFindInFiles::ShowProgress);
    m_pane->OnOpen = [this](const TSearchResultsPane::TPick& pick) { Open(pick); };
    m_pane->OnStop = [this] { Cancel(); };
    m_pane->OnReplace = [this] { ReplaceChecked(); };
    m_pane->OnClose = [this] { Cancel(); };
}

TFindInFiles::~TFindInFiles()
{
    // The workers are gone before anything they post to could be.
    m_search.reset();
}

bool TFindInFiles::Running() const
{
    return m_search && m_search->Running();
}

void TFindInFiles::Cancel()
{
    if (m_search)
        m_search->Cancel();
}

void TFindInFiles::Start(const TFileSearchSettings& settings, bool replace)
{
    // The search before stops first; whatever it still sends is dropped by
    // its run number.
    m_search.reset();
    ++m_run;
    m_files.clear();
    m_open.clear();
    m_replacing = replace;

    FileSearch::TRequest request;
    request.options.textToFind = settings.text;
    request.options.replaceText = settings.replaceText;
    request.options.caseSensitive = settings.caseSensitive;
    request.options.wholeWordsOnly = settings.wholeWords;
    request.options.regularExpressions = settings.regular;
    for (char c : Ansi::FromQString(TMemoSourceOptions::Global().Delimeters()))
        request.delimiters.Add(uchar(c));
    request.folder = settings.folder;
    request.masks = FileSearch::SplitMasks(settings.masks);
    request.subfolders = settings.subfolders;
    request.replacing = replace;
    quint64 tag = 0;
    if (Documents) {
        for (TMemoSource* document : Documents()) {
            if (!DocumentNames::HasFolder(document->FileName()))
                continue;
            ++tag;
            m_open[tag] = {document, document->TextVersion()};
            request.openTexts.push_back({document->FileName(), document->Snapshot(), document->Encoding(), tag});
        }
    }
    m_request = request;
    m_request.openTexts.clear();

    const quint64 run = m_run;
    FileSearch::TEvents events;
    events.onFile = [this, run](FileSearch::TFileHits&& hits) {
        QMetaObject::invokeMethod(
            this, [this, run, hits = std::move(hits)]() mutable { Received(run, std::move(hits)); },
            Qt::QueuedConnection);
    };
    events.onSkipped = [this, run](FileSearch::TSkipped&& skipped) {
        QMetaObject::invokeMethod(
            this, [this, run, skipped = std::move(skipped)]() mutable { Skipped(run, std::move(skipped)); },
            Qt::QueuedConnection);
    };
    events.onFinished = [this, run](const FileSearch::TTotals& totals) {
        QMetaObject::invokeMethod(this, [this, run, totals] { Finished(run, totals); }, Qt::QueuedConnection);
    };
    auto search = std::make_unique<FileSearch::TSearch>();
    QString error;
    if (!search->Start(std::move(request), std::move(events), &error)) {
        Services().ShowMessage(error);
        return;
    }
    m_search = std::move(search);
    m_pane->Begin(QStringLiteral("%1 '%2' in %3")
                      .arg(replace ? QStringLiteral("Replace in Files:") : QStringLiteral("Search Results:"),
                           settings.text, QDir::toNativeSeparators(settings.folder)),
                  replace);
    m_pane->SetRunning(true);
    ShowProgress();
    m_progress->start();
}

void TFindInFiles::ShowProgress()
{
    if (!m_search)
        return;
    m_pane->SetStatus(QStringLiteral("Searching... %1 searched").arg(files(m_search->Searched())));
}

void TFindInFiles::Received(quint64 run, FileSearch::TFileHits&& hits)
{
    if (run != m_run)
        return;
    m_files.push_back(std::move(hits));
    m_pane->AddFile(int(m_files.size()) - 1, m_files.back());
    if (m_files.size() == 1 && OnChanged)
        OnChanged();
}

void TFindInFiles::Skipped(quint64 run, FileSearch::TSkipped&& skipped)
{
    if (run == m_run)
        m_pane->AddSkipped(skipped);
}

void TFindInFiles::Finished(quint64 run, const FileSearch::TTotals& totals)
{
    if (run != m_run)
        return;
    m_progress->stop();
    m_pane->SetRunning(false);
    QString text = QStringLiteral("%1 %2: %3 matched (%4 %5), %6 skipped.")
                       .arg(totals.cancelled ? QStringLiteral("Stopped after searching") : QStringLiteral("Searched"),
                            files(totals.searched), number(totals.matched), number(totals.matches),
                            totals.matches == 1 ? QStringLiteral("match") : QStringLiteral("matches"),
                            number(totals.skipped));
    if (totals.stoppedAtLimit)
        text += QStringLiteral(" Listing stopped at %1 lines.").arg(number(FileSearch::kMaxLines));
    if (totals.gaveUp)
        text += QStringLiteral(" The expression needed too many steps on some lines; matches there are not listed.");
    m_pane->SetStatus(text);
    m_pane->SetReplaceEnabled(m_replacing && totals.matches > 0);
    if (OnChanged)
        OnChanged();
}

bool TFindInFiles::Step(bool forward)
{
    if (!m_pane->isVisible() && m_pane->ResultCount() > 0)
        m_pane->show();
    return m_pane->Step(forward);
}

TMemoSource* TFindInFiles::DocumentOf(const QString& path) const
{
    if (!Documents)
        return nullptr;
    for (TMemoSource* document : Documents()) {
        if (DocumentNames::SamePath(document->FileName(), path))
            return document;
    }
    return nullptr;
}

void TFindInFiles::Open(const TSearchResultsPane::TPick& pick)
{
    if (pick.file < 0 || pick.file >= int(m_files.size()) || !OpenDocument)
        return;
    const FileSearch::TFileHits& file = m_files[size_t(pick.file)];
    const FileSearch::TLine& line = file.lines[size_t(pick.line)];
    const FileSearch::TMatch& match = line.matches[size_t(pick.match)];
    TMemoSource* document = OpenDocument(file.path);
    if (!document)
        return;
    // Search Again goes on with this search in the document.
    TSearchOptions& global = TSearchOptions::Global();
    global.textToFind = m_request.options.textToFind;
    global.replaceText = m_request.options.replaceText;
    global.caseSensitive = m_request.options.caseSensitive;
    global.wholeWordsOnly = m_request.options.wholeWordsOnly;
    global.regularExpressions = m_request.options.regularExpressions;
    global.direction = sdForward;
    global.scope = ssGlobal;
    document->SelectMatch(line.line, match.start, match.start + match.length, global);
    if (AfterOpen)
        AfterOpen();
}

void TFindInFiles::ReplaceChecked()
{
    if (Running())
        return;
    // The checked matches, file by file.
    std::map<int, std::vector<FileReplace::TEdit>> edits;
    for (const TSearchResultsPane::TPick& pick : m_pane->CheckedMatches()) {
        const FileSearch::TFileHits& file = m_files[size_t(pick.file)];
        const FileSearch::TLine& line = file.lines[size_t(pick.line)];
        const FileSearch::TMatch& match = line.matches[size_t(pick.match)];
        edits[pick.file].push_back({line.line, match.start, match.length, match.replacement});
    }
    if (edits.empty()) {
        Services().ShowMessage(QStringLiteral("No match is checked: nothing was replaced."));
        return;
    }
    const bool backups = TMemoSourceOptions::Global().Options().testFlag(soCreateBackups);
    int replaced = 0;
    int changedFiles = 0;
    QStringList skipped;
    auto skip = [&](const QString& path, const QString& why) {
        skipped.append(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why));
    };
    // Into an open document, as one undo step of its own.
    auto intoDocument = [&](TMemoSource* document, const std::vector<FileReplace::TEdit>& list) {
        std::vector<TCustomMemoSource::TRangeReplacement> ranges;
        for (const FileReplace::TEdit& edit : list)
            ranges.push_back({edit.line, edit.start, edit.length, edit.text});
        return document->ReplaceRanges(std::move(ranges));
    };
    TProgress progress(QStringLiteral("Replacing in files"));
    qint64 done = 0;
    for (const auto& [index, list] : edits) {
        if (!progress.Step(done++, qint64(edits.size()))) {
            skipped.append(QStringLiteral("The rest was not replaced: the replacing was cancelled."));
            break;
        }
        const FileSearch::TFileHits& file = m_files[size_t(index)];
        // A character the file's encoding cannot hold would be written as
        // "?": such a file is left as it is.
        qsizetype unfit = -1;
        TextCodec::Encode(m_request.options.replaceText, file.encoding, &unfit);
        if (unfit >= 0) {
            skip(file.path, QStringLiteral("the replacement holds \"%1\", which %2 cannot hold")
                                .arg(m_request.options.replaceText.mid(unfit, 1), TextCodec::Name(file.encoding)));
            continue;
        }
        if (file.openTag != 0) {
            const TOpenDocument& open = m_open[file.openTag];
            if (!open.document) {
                skip(file.path, QStringLiteral("its document was closed since the search"));
            } else if (open.document->TextVersion() != open.version) {
                skip(file.path, QStringLiteral("its document was edited since the search"));
            } else if (!intoDocument(open.document, list)) {
                skip(file.path, QStringLiteral("its document is read-only"));
            } else {
                replaced += int(list.size());
                ++changedFiles;
            }
            continue;
        }
        // Opened since the search: the document takes the replacements when
        // it still holds what the search read from the disk.
        if (TMemoSource* document = DocumentOf(file.path)) {
            QFile disk(file.path);
            const QByteArray bytes = RegularFile::Open(disk, file.path, nullptr) ? disk.readAll() : QByteArray();
            const bool same = document->SavedBytes() == bytes && bytes.size() == file.size
                              && FileSearch::Fingerprint(bytes.constData(), bytes.size()) == file.fingerprint;
            if (!same) {
                skip(file.path, QStringLiteral("it was opened and changed since the search"));
            } else if (!intoDocument(document, list)) {
                skip(file.path, QStringLiteral("its document is read-only"));
            } else {
                replaced += int(list.size());
                ++changedFiles;
            }
            continue;
        }
        QString error;
        const QString backup = backups ? file.path + QStringLiteral(".bak") : QString();
        switch (FileReplace::Apply(file.path, file.size, file.fingerprint, list, backup, &error)) {
        case FileReplace::TOutcome::Written:
            replaced += int(list.size());
            ++changedFiles;
            break;
        case FileReplace::TOutcome::Changed:
            skip(file.path, QStringLiteral("it changed on disk since the search"));
            break;
        case FileReplace::TOutcome::Failed: skip(file.path, error); break;
        }
    }
    // What was listed no longer stands as it was: a second replacing would
    // work on stale places.
    m_pane->SetReplaceEnabled(false);
    QString summary = QStringLiteral("Replaced %1 %2 in %3.")
                          .arg(number(replaced), replaced == 1 ? QStringLiteral("match") : QStringLiteral("matches"),
                               files(changedFiles));
    m_pane->SetStatus(summary);
    if (!skipped.isEmpty())
        summary += QStringLiteral("\n\nNot replaced:\n") + skipped.join(u'\n');
    Services().ShowMessage(summary);
}
