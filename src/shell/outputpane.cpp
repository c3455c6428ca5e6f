// The Output pane: streams of a run turned into coloured lines, links found
// as each line ends, and the pane's controls (Stop, the input field, the
// context menu, its kept height).

#include "outputpane.h"

#include "memoenvoptions.h"
#include "outputlinks.h"
#include "paintfont.h"
#include "services.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kHeight = QStringLiteral("OutputPane.Height");
// A block's user state marking a line that is a link.
constexpr int kLinkLine = 1;

bool darkBase(const QPalette& palette)
{
    return palette.color(QPalette::Base).lightness() < 128;
}

} // namespace

TOutputPane::TOutputPane(QWidget* parent)
    : QFrame(parent), m_outputDecoder(QStringDecoder::System), m_errorDecoder(QStringDecoder::System)
{
    setObjectName(QStringLiteral("OutputPane"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto* title = new QHBoxLayout;
    title->addWidget(new QLabel(QStringLiteral("Output"), this));
    title->addStretch(1);
    m_stop = new QToolButton(this);
    m_stop->setObjectName(QStringLiteral("OutputStop"));
    m_stop->setAutoRaise(true);
    m_stop->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_stop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    m_stop->setText(QStringLiteral("Stop"));
    m_stop->setToolTip(QStringLiteral("Stop the program and what it started"));
    m_stop->setEnabled(false);
    connect(m_stop, &QToolButton::clicked, this, [this] {
        if (OnStop)
            OnStop();
    });
    title->addWidget(m_stop);
    m_close = new QToolButton(this);
    m_close->setObjectName(QStringLiteral("OutputClose"));
    m_close->setAutoRaise(true);
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setToolTip(QStringLiteral("Close"));
    connect(m_close, &QToolButton::clicked, this, &QWidget::hide);
    title->addWidget(m_close);
    layout->addLayout(title);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("OutputText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setMaximumBlockCount(kMaxLines);
    m_text->setMouseTracking(true);
    m_text->viewport()->installEventFilter(this);
    m_text->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_text, 1);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("OutputMenu"));
    QAction* clear = m_menu->addAction(QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("OutputClear"));
    connect(clear, &QAction::triggered, this, [this] {
        m_text->clear();
        m_open = false;
        m_empty = true;
    });
    QAction* copy = m_menu->addAction(QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("OutputCopy"));
    connect(copy, &QAction::triggered, this, &TOutputPane::CopyText);
    connect(m_text, &QPlainTextEdit::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_text->viewport()->mapToGlobal(at)); });

    m_input = new QLineEdit(this);
    m_input->setObjectName(QStringLiteral("OutputInput"));
    m_input->setPlaceholderText(QStringLiteral("Input for the running program (Enter sends the line)"));
    m_input->setEnabled(false);
    connect(m_input, &QLineEdit::returnPressed, this, &TOutputPane::SendInput);
    layout->addWidget(m_input);

    FollowEditorFont();
    m_fontListener = TMemoEnvOptions::Global().AddListener([this] { FollowEditorFont(); });
    hide();
}

TOutputPane::~TOutputPane()
{
    TMemoEnvOptions::Global().RemoveListener(m_fontListener);
}

void TOutputPane::FollowEditorFont()
{
    // The editor's own font (fixed pitch), without its style: bold or
    // underlined output would read as highlighting.
    QFont font = ToQFont(TMemoEnvOptions::Global().Font());
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    m_text->setFont(font);
    m_input->setFont(font);
}

int TOutputPane::Begin(const QString& command, const QString& folder, const QStringList& roots)
{
    ++m_run;
    m_folder = folder;
    m_roots = roots;
    m_outputDecoder.resetState();
    m_errorDecoder.resetState();
    m_text->clear();
    m_waiting.clear();
    m_waitingChars = 0;
    m_skipped = 0;
    m_open = false;
    m_empty = true;
    AddNote(QDir::toNativeSeparators(folder) + QStringLiteral("> ") + command);
    if (isHidden()) {
        show();
        ApplyHeight();
    }
    SetRunning(true);
    return m_run;
}

void TOutputPane::Append(int run, const QByteArray& output, bool error)
{
    if (run != m_run)
        return;
    Queue((error ? m_errorDecoder : m_outputDecoder).decode(output), error ? kError : kOutput);
}

void TOutputPane::Echo(int run, const QString& line)
{
    if (run == m_run)
        Queue(line + u'\n', kInput);
}

void TOutputPane::Finish(int run, const QString& summary)
{
    if (run != m_run)
        return;
    Queue(summary + u'\n', kNote, true);
}

void TOutputPane::Queue(const QString& text, TKind kind, bool last)
{
    m_waiting.push_back({kind, text, last});
    m_waitingChars += text.size();
    if (m_waitingChars > kMaxWaitingChars) {
        // A program writing faster than the pane can show for long: the
        // oldest output waiting gives way (it would scroll out of the kept
        // lines anyway), and a line says how much. Typed lines and the
        // summary are kept.
        qsizetype excess = m_waitingChars - kMaxWaitingChars / 2;
        for (auto piece = m_waiting.begin(); excess > 0 && piece != m_waiting.end(); ++piece) {
            if (piece->kind != kOutput && piece->kind != kError)
                continue;
            const qsizetype cut = std::min(excess, piece->text.size());
            piece->text.remove(0, cut);
            excess -= cut;
            m_waitingChars -= cut;
            m_skipped += cut;
        }
    }
    if (!m_flushPending) {
        m_flushPending = true;
        QTimer::singleShot(0, this, &TOutputPane::Flush);
    }
}

void TOutputPane::Flush()
{
    m_flushPending = false;
    qsizetype budget = kSliceChars;
    if (m_skipped > 0) {
        AddText(QStringLiteral("[%1 characters of output were skipped: the program wrote them faster than they "
                               "could be shown]\n")
                    .arg(m_skipped),
                kNote);
        m_skipped = 0;
    }
    while (!m_waiting.empty() && budget > 0) {
        TPiece& piece = m_waiting.front();
        if (piece.text.size() > budget) {
            // The rest waits for the next turn; a character's two halves
            // stay together.
            qsizetype cut = budget;
            if (piece.text.at(cut - 1).isHighSurrogate())
                --cut;
            if (cut > 0) {
                AddText(piece.text.left(cut), piece.kind);
                piece.text.remove(0, cut);
                m_waitingChars -= cut;
            }
            break;
        }
        budget -= piece.text.size();
        m_waitingChars -= piece.text.size();
        const TPiece done = std::move(piece);
        m_waiting.pop_front();
        AddText(done.text, done.kind);
        if (done.last)
            SetRunning(false);
    }
    if (!m_waiting.empty() && !m_flushPending) {
        m_flushPending = true;
        QTimer::singleShot(0, this, &TOutputPane::Flush);
    }
}

void TOutputPane::SetRunning(bool running)
{
    m_running = running;
    m_stop->setEnabled(running);
    m_input->setEnabled(running);
    if (!running)
        m_input->clear();
}

void TOutputPane::AddText(const QString& text, TKind kind)
{
    QScrollBar* bar = m_text->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    const bool dark = darkBase(palette());
    QTextCharFormat format;
    if (kind == kError)
        format.setForeground(dark ? QColor(0xff, 0x70, 0x70) : QColor(0xc0, 0x10, 0x10));
    else if (kind == kInput)
        format.setForeground(dark ? QColor(0x70, 0xe0, 0x70) : QColor(0x10, 0x80, 0x20));
    else
        format.setForeground(palette().color(QPalette::Text));
    format.setFontWeight(kind == kNote ? QFont::Bold : QFont::Normal);

    // Carriage returns (of CR LF, or of a line drawn over itself) are not
    // shown.
    QString lines = text;
    lines.remove(u'\r');
    if (lines.isEmpty())
        return;
    // What the user typed answers the prompt on its line, as on a terminal;
    // another stream's output starts a line of its own.
    if (m_open && m_openKind != kind && kind != kInput)
        EndLines(1);
    const bool ends = lines.endsWith(u'\n');
    if (ends)
        lines.chop(1);
    // All of it in one insertion: each line end makes a block.
    if (!m_open && !m_empty)
        lines.prepend(u'\n');
    const qsizetype ended = text.count(u'\n');
    QTextCursor cursor(m_text->document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(lines, format);
    if (!m_open)
        m_openKind = kind;
    m_empty = false;
    m_open = true;
    if (ends)
        EndLines(int(ended));
    else if (ended > 0)
        EndLines(int(ended), 1);
    cursor.endEditBlock();
    if (following)
        bar->setValue(bar->maximum());
}

void TOutputPane::EndLines(int count, int skip)
{
    // The lines ended are the count blocks before the skip last ones; links
    // are looked for in those only.
    if (skip == 0)
        m_open = false;
    QTextBlock block = m_text->document()->lastBlock();
    for (int i = 0; i < skip && block.isValid(); ++i)
        block = block.previous();
    QTextCharFormat link;
    link.setForeground(palette().color(QPalette::Link));
    link.setFontUnderline(true);
    for (int i = 0; i < count && block.isValid(); ++i, block = block.previous()) {
        const QString line = block.text();
        OutputLinks::TLocation location;
        // Both kinds of link name a ".java:" file and line.
        if (!line.contains(QLatin1String(".java:")) || !OutputLinks::Find(line, m_folder, m_roots, location))
            continue;
        block.setUserState(kLinkLine);
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(link);
    }
}

void TOutputPane::AddNote(const QString& line)
{
    AddText(line + u'\n', kNote);
}

QString TOutputPane::PlainText() const
{
    return m_text->toPlainText();
}

void TOutputPane::CopyText()
{
    const QString selected = m_text->textCursor().selection().toPlainText();
    Services().SetClipboardText(selected.isEmpty() ? PlainText() : selected);
}

void TOutputPane::SendInput()
{
    if (!m_running)
        return;
    const QString line = m_input->text();
    m_input->clear();
    if (OnInput)
        OnInput(line);
}

void TOutputPane::ApplyHeight()
{
    // The editor (first in the splitter) gives the room; another pane shown
    // under it keeps its own.
    auto* split = qobject_cast<QSplitter*>(parentWidget());
    const int index = split ? split->indexOf(this) : -1;
    if (index <= 0)
        return;
    QList<int> sizes = split->sizes();
    int room = split->height();
    int shown = 0;
    for (int i = 0; i < split->count(); ++i) {
        if (split->widget(i)->isHidden())
            continue;
        ++shown;
        if (i != 0 && i != index)
            room -= sizes[i];
    }
    room -= split->handleWidth() * (shown - 1);
    if (room <= 0)
        return;
    const int height = std::min(m_height, room);
    sizes[0] = room - height;
    sizes[index] = height;
    split->setSizes(sizes);
}

void TOutputPane::hideEvent(QHideEvent* event)
{
    if (height() > 0)
        m_height = height();
    QFrame::hideEvent(event);
}

QStringList TOutputPane::StoredNames() const
{
    return {kHeight};
}

QList<QPair<QString, QString>> TOutputPane::StoredValues() const
{
    return {{kHeight, QString::number(isVisible() ? height() : m_height)}};
}

QStringList TOutputPane::RestoreValues(const QHash<QString, QString>& values)
{
    auto it = values.constFind(kHeight);
    if (it == values.constEnd())
        return {};
    const std::optional<int> height = TFormStorage::ParseInt(*it, 1, TFormStorage::kMaxCoordinate);
    if (!height)
        return {kHeight};
    m_height = *height;
    if (isVisible())
        ApplyHeight();
    return {};
}

bool TOutputPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text->viewport()
        && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QTextBlock block = m_text->cursorForPosition(mouse->position().toPoint()).block();
        const bool link = block.userState() == kLinkLine;
        if (event->type() == QEvent::MouseMove) {
            m_text->viewport()->setCursor(link ? Qt::PointingHandCursor : Qt::IBeamCursor);
        } else if (link && mouse->button() == Qt::LeftButton && !m_text->textCursor().hasSelection()
                   && OnOpenLocation) {
            OutputLinks::TLocation location;
            if (OutputLinks::Find(block.text(), m_folder, m_roots, location))
                OnOpenLocation(location.path, location.line);
        }
    }
    return QFrame::eventFilter(watched, event);
}
