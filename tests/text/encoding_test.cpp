// UTF-8 documents in the store: which encoding a file is read in, and text
// crossing into and out of it (search and replace, clipboard, case).

#include "commandfixture.h"

#include "textcodec.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray u8(const char* text) { return QByteArray(text); }

} // namespace

TEST(Encoding, DetectedOnLoadAndSavedBackByteForByte)
{
    struct Row {
        const char* name;
        const char* file;
        QByteArray bytes;
        TTextEncoding encoding;
        bool mark;
    };
    const Row rows[] = {
        {"ASCII alone", "A.java", "class A {}\n", teWindows1252, false},
        {"byte order mark", "a.txt", "\xEF\xBB\xBFhi\r\nthere", teUtf8, true},
        {"valid multi-byte", "A.java", "String s = \"caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80\";\n", teUtf8, false},
        {"invalid sequence", "A.java", "caf\xE9 \xC3\xA9\n", teWindows1252, false},
        {"overlong form", "A.java", "\xC0\xAF\n", teWindows1252, false},
        {"sequence cut short at the end", "A.java", "ok \xE6\x97", teWindows1252, false},
        {"meta charset over invalid bytes", "p.html", "<meta charset=\"utf-8\">\ncaf\xE9\n", teUtf8, false},
        {"http-equiv ISO-8859-1 over valid UTF-8", "p.HTM",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">\ncaf\xC3\xA9\n", teWindows1252,
         false},
        {"JSP pageEncoding", "p.jsp", "<%@ page pageEncoding = 'UTF-8' %>\n\xE9\n", teUtf8, false},
        {"JSP contentType windows-1252", "p.jsp", "<%@ page contentType=\"text/html;charset=windows-1252\" %>\n\xC3\xA9\n",
         teWindows1252, false},
        {"pageEncoding before contentType", "p.jsp",
         "<%@ page contentType=\"text/html; charset=UTF-8\" pageEncoding=\"ISO-8859-1\" %>\n\xC3\xA9\n", teWindows1252,
         false},
        {"declaration outside markup is text", "A.java", "// charset=windows-1252\n\xC3\xA9\n", teUtf8, false},
        {"unknown charset goes by the bytes", "p.html", "<meta charset=\"shift_jis\">\n\xC3\xA9\n", teUtf8, false},
        {"mark beats the declaration", "p.html", "\xEF\xBB\xBF<meta charset=windows-1252>\n", teUtf8, true},
    };
    QTemporaryDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = dir.filePath(QString::fromLatin1(row.file));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(row.bytes);
        out.close();
        TMemoSource source;
        ASSERT_TRUE(source.LoadFromFile(path));
        EXPECT_EQ(source.Encoding(), row.encoding);
        EXPECT_EQ(source.ByteOrderMark(), row.mark);
        // The mark is no character of the first line.
        EXPECT_FALSE(source.Lines().Text().startsWith("\xEF\xBB\xBF"));
        ASSERT_TRUE(source.SaveToFile(path));
        QFile in(path);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        EXPECT_EQ(in.readAll(), row.bytes);
        // A named encoding is taken as it is.
        ASSERT_TRUE(source.LoadFromFile(path, nullptr, teOem));
        EXPECT_EQ(source.Encoding(), teOem);
        EXPECT_EQ(source.SavedBytes(), row.bytes);
    }
}

TEST(Encoding, SearchMatchesCharactersAndFoldsNonAsciiCase)
{
    struct Row {
        const char* name;
        TTextEncoding encoding;
        const char* find; // UTF-8
        bool expression;
        bool caseSensitive;
        bool wholeWords;
        QByteArray found; // the selected bytes; empty: not found
    };
    const QByteArray utf8Text = u8("Un \xC3\xA9t\xC3\xA9 \xC3\xA0 Paris\nCAF\xC3\x89 caf\xC3\xA9\n\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E x\n");
    const Row rows[] = {
        {"plain, folded", teUtf8, "\xC3\x89T\xC3\x89", false, false, false, u8("\xC3\xA9t\xC3\xA9")},
        {"expression, folded", teUtf8, "\xC3\x89T\xC3\x89", true, false, false, u8("\xC3\xA9t\xC3\xA9")},
        {"plain, case kept", teUtf8, "\xC3\x89T\xC3\x89", false, true, false, {}},
        {"a dot is one character", teUtf8, "caf.", true, true, false, u8("caf\xC3\xA9")},
        {"upper case found as typed", teUtf8, "caf\xC3\xA9", false, true, false, u8("caf\xC3\xA9")},
        {"word characters beyond ASCII", teUtf8, "\\w+\xE8\xAA\x9E", true, true, false, u8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E")},
        {"inside a word is no whole word", teUtf8, "\xE6\x9C\xAC", false, false, true, {}},
        {"a whole word of CJK", teUtf8, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", false, false, true,
         u8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E")},
        {"ASCII folded in UTF-8", teUtf8, "PARIS", false, false, false, "Paris"},
        {"Windows-1252 folds its own letters", teWindows1252, "\xC3\x89T\xC3\x89", false, false, false,
         "\xE9t\xE9"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Doc doc(row.encoding == teUtf8 ? utf8Text : QByteArray("Un \xE9t\xE9 \xE0 Paris\n"));
        doc.source.SetEncoding(row.encoding);
        doc.source.SetOptions(doc.source.Options() | soSelectFoundText);
        TSearchOptions options;
        options.textToFind = QString::fromUtf8(row.find);
        options.regularExpressions = row.expression;
        options.caseSensitive = row.caseSensitive;
        options.wholeWordsOnly = row.wholeWords;
        options.scope = ssGlobal;
        options.origin = soEntireScope;
        options.promptOnReplace = false;
        EXPECT_EQ(doc.source.FindText(options), !row.found.isEmpty());
        EXPECT_EQ(doc.source.SelectedText(), row.found);
    }

    // A replacement goes in as UTF-8, and whole characters make way for it.
    Doc doc(utf8Text);
    doc.source.SetEncoding(teUtf8);
    TSearchOptions options;
    options.textToFind = QString::fromUtf8("\xC3\x89T\xC3\x89|CAF.");
    options.replaceText = QString::fromUtf8("\xCE\xB8\xCE\xAD\xCF\x81\xCE\xBF\xCF\x82");
    options.regularExpressions = true;
    options.replaceAll = true;
    options.promptOnReplace = false;
    options.origin = soEntireScope;
    EXPECT_TRUE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.Lines().mid(0, 2),
              (QList<QByteArray>{u8("Un \xCE\xB8\xCE\xAD\xCF\x81\xCE\xBF\xCF\x82 \xC3\xA0 Paris"),
                                 u8("\xCE\xB8\xCE\xAD\xCF\x81\xCE\xBF\xCF\x82 \xCE\xB8\xCE\xAD\xCF\x81\xCE\xBF\xCF\x82")}));
}

TEST(Encoding, ClipboardCarriesUnicodeAndCaseKeepsSequencesWhole)
{
    const QString text = QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E caf\xC3\xA9 \xF0\x9F\x98\x80");
    Doc utf8(text.toUtf8() + "\n");
    utf8.source.SetEncoding(teUtf8);
    utf8.Select({0, 0}, {1, 0});
    utf8.source.CopyToClipboard();
    EXPECT_EQ(utf8.services.ClipboardText(), text + "\r\n");

    // Pasted into a Windows-1252 document, what it cannot hold is a '?'.
    Doc western("");
    western.services.SetClipboardText(text);
    western.source.PasteFromClipboard();
    EXPECT_EQ(western.Text(), "??? caf\xE9 ?");

    // Pasted back into UTF-8, the bytes are what they were.
    Doc back("");
    back.source.SetEncoding(teUtf8);
    back.services.SetClipboardText(text);
    back.source.PasteFromClipboard();
    EXPECT_EQ(back.Text(), text.toUtf8());

    // Case tables move whole characters; OEM tables leave UTF-8 alone.
    back.source.SelectAll();
    back.source.BlockToUpperCase();
    EXPECT_EQ(back.Text(), QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E CAF\xC3\x89 \xF0\x9F\x98\x80").toUtf8());
    back.source.ConvertToOem();
    EXPECT_EQ(back.Text(), QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E CAF\xC3\x89 \xF0\x9F\x98\x80").toUtf8());
    EXPECT_EQ(TextCodec::Decode(back.Text(), teUtf8), text.toUpper());
}
