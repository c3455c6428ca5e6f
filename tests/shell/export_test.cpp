// File, Export... and the rich part of a copy: the highlighted text as RTF
// (read back by unrtf) and HTML, with the scheme's colours.

#include "shellfixture.h"

#include "filesaver.h"

#include <QProcess>
#include <QRegularExpression>

#include <cerrno>

namespace {

// What unrtf makes of an RTF file: HTML with <font color="#rrggbb">.
QString unrtfHtml(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("unrtf"), {QStringLiteral("--html"), path});
    if (!process.waitForFinished(60000))
        return QStringLiteral("<unrtf did not finish>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString hex(quint32 rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xffffff, 6, 16, QLatin1Char('0'));
}

// A Java line with a keyword, and one with every byte RTF must escape.
const QByteArray kJava = "public class A {\r\n  String s = \"a\\\\b{c}d \xe9\x80\";\r\n}\r\n";

} // namespace

class ExportTest : public ShellTest {
protected:
    // The resolved colour of the attribute at (line, column) and whether it
    // is bold.
    QString ColorAt(int line, int column, bool* bold = nullptr)
    {
        TMemoSource* document = form->ActiveDocument();
        const uchar attr = document->LineAttributes(line)[column];
        const TFont* font = document->SyntaxParser()->GetAttrFont(attr);
        if (bold)
            *bold = font && font->Style().testFlag(TFont::fsBold);
        return hex(services.ResolveColor(font ? font->Color() : TColor(clWindowText)));
    }
};

TEST_F(ExportTest, ExportWritesTheHighlightedTextAsRtf)
{
    Open(MakeFile(QStringLiteral("A.java"), kJava));
    const QString rtf = files.filePath(QStringLiteral("A.rtf"));
    services.ChooseFile(rtf);
    Item("FileItemsExport")->trigger();
    ASSERT_EQ(services.FileDialogs().size(), 2);
    const TServices::TFileDialog dialog = services.FileDialogs().last();
    EXPECT_EQ(dialog.filter, QStringLiteral("Rich Document (*.rtf)|*.rtf"));
    EXPECT_EQ(dialog.defaultExt, QStringLiteral("rtf"));
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join('\n').toStdString();

    const QByteArray bytes = ReadFile(rtf);
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    for (const char* escaped : {"a\\\\\\\\b\\{c\\}d", "\\'e9\\'80"})
        EXPECT_TRUE(bytes.contains(escaped)) << escaped;

    const QString html = unrtfHtml(rtf);
    bool keywordBold = false;
    const QString keyword = ColorAt(0, 0, &keywordBold);
    const QString string = ColorAt(1, 13);
    ASSERT_NE(keyword, string);
    const QString keywordRun = QStringLiteral("<font color=\"%1\">(<span[^>]*>)?%2public").arg(keyword, keywordBold ? "<b>" : "");
    EXPECT_TRUE(html.contains(QRegularExpression(keywordRun))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<font color=\"%1\">").arg(string))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("a\\\\b{c}d")) || html.contains(QStringLiteral("a\\b{c}d")));
    EXPECT_TRUE(html.contains(QStringLiteral("&eacute;&euro;")));
    EXPECT_FALSE(form->ActiveDocument()->Modified());
}

// A failing disk loses nothing: the old file stays byte for byte and the
// message says why.
TEST_F(ExportTest, AFailedExportKeepsTheOldFileAndSaysWhy)
{
    Open(MakeFile(QStringLiteral("A.java"), kJava));
    const QString rtf = MakeFile(QStringLiteral("old.rtf"), "old export");
    services.ChooseFile(rtf);
    FileSaverFaults::FailWriteAfter(10, ENOSPC);
    Item("FileItemsExport")->trigger();
    FileSaverFaults::Reset();
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_TRUE(services.Messages().first().contains(QStringLiteral("No space left on device")));
    EXPECT_TRUE(services.Messages().first().contains(rtf));
    EXPECT_EQ(ReadFile(rtf), "old export");
}

// Copy puts the selection beside its plain text as RTF and HTML in the same
// colours; a paste of it gives back the plain text.
TEST_F(ExportTest, CopyPutsRichTextBesideThePlainText)
{
    Open(MakeFile(QStringLiteral("A.java"), kJava));
    TMemoSource* document = form->ActiveDocument();
    document->SetSelection(TTextPos{0, 0}, TTextPos{1, 10});
    QTest::keyClick(form->TarnelEditor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(services.ClipboardText(), QByteArray("public class A {\r\n  String s"));

    const QByteArray rtf = services.ClipboardRtf();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.contains("\\b public")) << rtf.constData();
    EXPECT_FALSE(rtf.contains('=')) << "copied past the selection";
    const QByteArray html = services.ClipboardHtml();
    bool keywordBold = false;
    const QString keyword = ColorAt(0, 0, &keywordBold);
    EXPECT_TRUE(html.contains(("color:" + keyword).toUtf8() + (keywordBold ? ";font-weight:bold" : "")))
        << html.toStdString();
    EXPECT_TRUE(html.endsWith("s</span></pre>")) << html.toStdString();
    // A keyword's RTF colour is the same one: its index in the colour table
    // names the keyword's red, green and blue.
    const QColor color(keyword);
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\red%1\\green%2\\blue%3;")
                                 .arg(color.red())
                                 .arg(color.green())
                                 .arg(color.blue())
                                 .toLatin1()));
}
