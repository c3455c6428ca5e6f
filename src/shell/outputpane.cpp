#include "outputpane.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

TOutputPane::TOutputPane(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("OutputPane"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto* title = new QHBoxLayout;
    title->addWidget(new QLabel(QStringLiteral("Output"), this));
    title->addStretch(1);
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
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setMouseTracking(true);
    m_text->viewport()->installEventFilter(this);
    layout->addWidget(m_text);
    hide();
}

int TOutputPane::Begin(const QString& title, const QString& folder)
{
    ++m_run;
    m_folder = folder;
    m_pending.clear();
    m_text->clear();
    AddLine(QStringLiteral("> ") + title);
    show();
    return m_run;
}

void TOutputPane::Append(int run, const QByteArray& output)
{
    if (run != m_run)
        return;
    m_pending += output;
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        AddLine(QString::fromLocal8Bit(line));
    }
}

void TOutputPane::Finish(int run, int exitCode, const QString& failure)
{
    if (run != m_run)
        return;
    if (!m_pending.isEmpty())
        Append(run, "\n");
    AddLine(failure.isEmpty() ? QStringLiteral("Finished with exit code %1.").arg(exitCode) : failure);
}

bool TOutputPane::ParseLocation(const QString& line, QString& file, int& lineNumber)
{
    // javac's form; the name may hold colons (a drive letter) and blanks.
    static const QRegularExpression location(QStringLiteral("^(.+\\.java):(\\d+):"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = location.match(line);
    if (!match.hasMatch())
        return false;
    bool ok = false;
    lineNumber = match.captured(2).toInt(&ok);
    file = match.captured(1);
    return ok && lineNumber > 0;
}

QString TOutputPane::PlainText() const
{
    return m_text->toPlainText();
}

void TOutputPane::AddLine(const QString& line)
{
    QTextCursor cursor(m_text->document());
    cursor.movePosition(QTextCursor::End);
    if (!m_text->document()->isEmpty())
        cursor.insertBlock();
    QTextCharFormat format;
    QString file;
    int lineNumber = 0;
    if (ParseLocation(line, file, lineNumber)) {
        format.setForeground(palette().color(QPalette::Link));
        format.setFontUnderline(true);
    }
    cursor.insertText(line, format);
}

bool TOutputPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QString line = m_text->cursorForPosition(mouse->position().toPoint()).block().text();
            QString file;
            int lineNumber = 0;
            const bool link = ParseLocation(line, file, lineNumber);
            if (event->type() == QEvent::MouseMove) {
                m_text->viewport()->setCursor(link ? Qt::PointingHandCursor : Qt::IBeamCursor);
            } else if (link && mouse->button() == Qt::LeftButton && !m_text->textCursor().hasSelection()
                       && OnOpenLocation) {
                const QString path = QFileInfo(file).isAbsolute() ? file : QDir(m_folder).filePath(file);
                OnOpenLocation(QDir::cleanPath(path), lineNumber);
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}
