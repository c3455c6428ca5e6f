#include "templatefiles.h"

#include "regularfile.h"
#include "stringlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString TemplateFiles::Folder(const QString& programDir)
{
    return programDir + QStringLiteral("Templates/");
}

QString TemplateFiles::HtmlTemplate(const QString& programDir)
{
    return Folder(programDir) + QStringLiteral("html.tpl");
}

bool TemplateFiles::Read(const QString& path, QByteArray& text, QString& error)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    QString refusal;
    if (!RegularFile::Open(file, path, &refusal)) {
        error = QStringLiteral("Cannot open file \"%1\". %2").arg(shown, refusal);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("Cannot read file \"%1\". %2").arg(shown, file.errorString());
        return false;
    }
    // Through a string list, as the lines of the file: each one ends in a
    // line break, so the caret ends on a line of its own after them.
    TStringList lines;
    lines.SetText(bytes);
    text = lines.Text();
    return true;
}
