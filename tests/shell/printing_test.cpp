// Printing as the user meets it: File, Print..., the print dialog worked
// through its check boxes and buttons, the progress window's Cancel, and a
// real QPrinter writing a PDF that poppler's tools read back (text, pages,
// pixels).

#include "shellfixture.h"

#include "memoprinter.h"
#include "memoprintform.h"
#include "memoprintprogress.h"
#include "modaldialogs.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return QStringLiteral("<%1 did not finish>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& pdf)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The text of each page, laid out as printed.
QStringList pdfPageTexts(const QString& pdf)
{
    QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QImage firstPageImage(const QString& pdf, const QString& prefix)
{
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-singlefile"),
         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// A Java file whose line k (from 1) holds the marker "v<k>;" once.
QByteArray javaText(int lines)
{
    QByteArray text = "public class Sample {\r\n";
    for (int k = 2; k < lines; ++k)
        text += "    int v" + QByteArray::number(k) + "; // note\r\n";
    return text + "} // v" + QByteArray::number(lines) + ";\r\n";
}

} // namespace

class PrintingTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        QPrinter& printer = MemoPrinter::Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName({});
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    }

    void TearDown() override
    {
        ModalDialogs::SetHook({});
        MemoPrinter::SetPageHook({});
        ShellTest::TearDown();
    }

    void OpenJava(int lines = 300)
    {
        Open(MakeFile(QStringLiteral("Sample.java"), javaText(lines)));
        ASSERT_NE(form->ActiveDocument(), nullptr);
    }

    static void ClickBox(QCheckBox* box, bool on)
    {
        ASSERT_NE(box, nullptr);
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        ASSERT_EQ(box->isChecked(), on) << box->text().toStdString();
    }

    // File, Print... with the dialog's boxes set to options, then "Ok"; the
    // PDF goes to pdf. act may look at the dialog first.
    void PrintWith(TDCPrintOptions options, const QString& pdf, const std::function<void(TMemoPrintForm&)>& act = {})
    {
        int shown = 0;
        ModalDialogs::THook scripted = ModalDialogs::SetHook([&](QDialog& dialog) {
            auto* printForm = qobject_cast<TMemoPrintForm*>(&dialog);
            ASSERT_NE(printForm, nullptr);
            ++shown;
            if (act)
                act(*printForm);
            for (TDCPrintOption option : {poPrintSel, poPrintHeader, poLineNumbers, poPrintSyntax, poInColor,
                                          poShowProgress, poWrapLines}) {
                if (printForm->Check(option)->isEnabled())
                    ClickBox(printForm->Check(option), options.testFlag(option));
            }
            QTest::mouseClick(printForm->OkButton(), Qt::LeftButton);
        });
        services.ChooseFile(pdf);
        QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
        ModalDialogs::SetHook(scripted);
        EXPECT_EQ(shown, 1);
    }

    QString Pdf(const char* name) const { return files.filePath(QString::fromLatin1(name)); }

    // The colour the Java scheme paints "public" in, ready to compare.
    QColor KeywordColor()
    {
        TMemoSource* document = form->ActiveDocument();
        const uchar* attrs = document->LineAttributes(0);
        const TFont* font = document->SyntaxParser()->GetAttrFont(attrs[0]);
        return font ? QColor::fromRgb(services.ResolveColor(font->Color())) : QColor(Qt::black);
    }

    static int PixelsNear(const QImage& image, QColor color)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (std::abs(pixel.red() - color.red()) < 40 && std::abs(pixel.green() - color.green()) < 40
                    && std::abs(pixel.blue() - color.blue()) < 40)
                    ++count;
            }
        return count;
    }

    static int ColouredPixels(const QImage& image)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                const int high = std::max({pixel.red(), pixel.green(), pixel.blue()});
                const int low = std::min({pixel.red(), pixel.green(), pixel.blue()});
                count += high - low > 40;
            }
        return count;
    }
};

// Every line printed exactly once, in order, page after page under its
// "Page i/N" header, numbered, in the scheme's colours or in black.
TEST_F(PrintingTest, JavaFilePrintsEveryLineOnceWithHeaderNumbersAndColours)
{
    OpenJava();
    struct TCase {
        const char* pdf;
        TDCPrintOptions options;
        bool colour;
    } cases[] = {
        {"colour.pdf", poPrintHeader | poLineNumbers | poPrintSyntax | poInColor, true},
        {"mono.pdf", poPrintHeader | poLineNumbers | poPrintSyntax, false},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.pdf);
        PrintWith(test.options, Pdf(test.pdf));
        const QStringList pages = pdfPageTexts(Pdf(test.pdf));
        const int count = pdfPages(Pdf(test.pdf));
        ASSERT_GT(count, 2);
        ASSERT_EQ(pages.size(), count);
        const QString all = pages.join(QLatin1Char('\n'));
        for (int page = 1; page <= count; ++page) {
            EXPECT_TRUE(pages[page - 1].contains(QStringLiteral("Page %1/%2").arg(page).arg(count))) << page;
            EXPECT_TRUE(pages[page - 1].contains(QStringLiteral("Sample.java"))) << page;
        }
        EXPECT_TRUE(pages.first().contains(QRegularExpression(QStringLiteral("\\b1\\s+public class Sample \\{"))));
        EXPECT_TRUE(pages.last().contains(QRegularExpression(QStringLiteral("\\b300\\s+\\} // v300;"))));
        int previous = -1;
        for (int k = 2; k <= 300; ++k) {
            const QString marker = QStringLiteral("v%1;").arg(k);
            ASSERT_EQ(all.count(marker), 1) << marker.toStdString();
            const int at = int(all.indexOf(marker));
            EXPECT_GT(at, previous) << k;
            previous = at;
        }
        const QImage image = firstPageImage(Pdf(test.pdf), Pdf(test.pdf) + QStringLiteral("-page1"));
        ASSERT_FALSE(image.isNull());
        if (test.colour) {
            EXPECT_GT(PixelsNear(image, KeywordColor()), 20);
        } else {
            EXPECT_EQ(ColouredPixels(image), 0);
            EXPECT_GT(PixelsNear(image, Qt::black), 200);
        }
    }
    // The print dialog proposes the PDF it wrote last.
    QString proposed;
    services.OnFileDialog = [&](TServices::TFileDialog& dialog) {
        proposed = dialog.fileName;
        return false;
    };
    PrintWith(poPrintHeader, {});
    EXPECT_EQ(proposed, Pdf("mono.pdf"));
}

// The dialog: the selection box can be ticked only with a selection and is
// ticked then; a selection prints its lines numbered from the first.
TEST_F(PrintingTest, SelectionPrintsItsLinesNumberedFromTheFirst)
{
    OpenJava();
    PrintWith(poPrintHeader, Pdf("none.pdf"), [](TMemoPrintForm& dialog) {
        EXPECT_FALSE(dialog.Check(poPrintSel)->isEnabled());
        EXPECT_FALSE(dialog.Check(poPrintSel)->isChecked());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Print"));
        EXPECT_TRUE(dialog.FileLabel()->text().endsWith(QStringLiteral("Sample.java")));
        // "Setup..." opens the printer set-up of the services.
        QTest::mouseClick(dialog.SetupButton(), Qt::LeftButton);
    });

    EXPECT_TRUE(services.Calls().contains(QStringLiteral("print setup -> Cancel"))) << services.Calls().join('\n').toStdString();
    form->ActiveDocument()->SetSelection(TTextPos{99, 0}, TTextPos{149, 0});
    form->TarnelEditor()->SetPrintIndent(5);
    PrintWith(poPrintSel | poPrintHeader | poLineNumbers, Pdf("sel.pdf"), [](TMemoPrintForm& dialog) {
        EXPECT_TRUE(dialog.Check(poPrintSel)->isEnabled());
        EXPECT_TRUE(dialog.Check(poPrintSel)->isChecked());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Print Selection"));
        // A margin that is not a number counts as 0.
        EXPECT_EQ(dialog.MarginEdit()->text(), QStringLiteral("5"));
        dialog.MarginEdit()->selectAll();
        QTest::keyClicks(dialog.MarginEdit(), QStringLiteral("abc"));
    });
    EXPECT_EQ(form->TarnelEditor()->PrintIndent(), 0);
    const QString all = pdfPageTexts(Pdf("sel.pdf")).join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QStringLiteral("<Selected block>")));
    EXPECT_TRUE(all.contains(QRegularExpression(QStringLiteral("\\b100\\s+int v100;"))));
    EXPECT_TRUE(all.contains(QRegularExpression(QStringLiteral("\\b149\\s+int v149;"))));
    EXPECT_FALSE(all.contains(QStringLiteral("v99;")));
    EXPECT_FALSE(all.contains(QStringLiteral("v150;")));
    EXPECT_FALSE(all.contains(QRegularExpression(QStringLiteral("\\b1\\s+int"))));
}

// Wrapping cuts a long line at the page width; without it the line is cut
// off at the page's edge.
TEST_F(PrintingTest, WrapLinesKeepsTheEndOfALongLine)
{
    Open(MakeFile(QStringLiteral("long.txt"), "start " + QByteArray(400, 'x') + " TAILMARK\r\nnext\r\n"));
    PrintWith(poWrapLines, Pdf("wrap.pdf"));
    PrintWith({}, Pdf("cut.pdf"));
    EXPECT_TRUE(pdfPageTexts(Pdf("wrap.pdf")).join(QString()).contains(QStringLiteral("TAILMARK")));
    EXPECT_FALSE(pdfPageTexts(Pdf("cut.pdf")).join(QString()).contains(QStringLiteral("TAILMARK")));
    EXPECT_TRUE(pdfPageTexts(Pdf("cut.pdf")).join(QString()).contains(QStringLiteral("next")));
}

// "Cancel" in the progress window stops at the next page boundary; the pages
// already sent stay printed.
TEST_F(PrintingTest, CancelStopsAtAPageBoundary)
{
    OpenJava();
    QString printerText, progressText;
    MemoPrinter::SetPageHook([&](int page, TMemoPrintProgress* progress) {
        ASSERT_NE(progress, nullptr);
        if (page == 2) {
            printerText = progress->PrinterLabel()->text();
            progressText = progress->ProgressLabel()->text();
            QTest::mouseClick(progress->CancelButton(), Qt::LeftButton);
        }
    });
    PrintWith(poShowProgress | poPrintHeader, Pdf("cancel.pdf"));
    EXPECT_EQ(pdfPages(Pdf("cancel.pdf")), 2);
    EXPECT_EQ(printerText, QStringLiteral("Printing on printer Print to File (PDF)"));
    EXPECT_TRUE(progressText.startsWith(QStringLiteral("Printing page 2 from "))) << progressText.toStdString();
    EXPECT_TRUE(pdfPageTexts(Pdf("cancel.pdf")).last().contains(QStringLiteral("Page 2/")));
}

// The header's page number ends one average character width inside the
// printable area's right edge.
TEST_F(PrintingTest, PageNumberIsRightAlignedOneCharacterInside)
{
    OpenJava(20);
    PrintWith(poPrintHeader, Pdf("header.pdf"));
    const QString boxes =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), Pdf("header.pdf"), QStringLiteral("-")});
    const QRegularExpressionMatch word =
        QRegularExpression(QStringLiteral("xMax=\"([0-9.]+)\"[^>]*>1/1<")).match(boxes);
    ASSERT_TRUE(word.hasMatch()) << boxes.left(2000).toStdString();
    const QRectF area = MemoPrinter::Printer().pageLayout().paintRect(QPageLayout::Point);
    const double gap = area.right() - word.captured(1).toDouble();
    // The bold header font is about 10 points: its average character is
    // 5 to 6.5 points wide.
    EXPECT_GT(gap, 4.0);
    EXPECT_LT(gap, 8.0);
}

// The faults the print path must meet soundly: an empty text prints nothing
// and asks nothing; a font taller than the page still prints one row a page
// (no endless paging); a printer that fails is reported and the store is
// usable again.
TEST_F(PrintingTest, EdgeCasesPrintSoundly)
{
    TDCMemo* editor = form->TarnelEditor();
    editor->SetPrintOptions({});
    EXPECT_EQ(MemoPrinter::Print(*editor, MemoPrinter::Printer()), 0);
    EXPECT_TRUE(services.FileDialogs().isEmpty());

    Open(MakeFile(QStringLiteral("three.txt"), "one\r\ntwo\r\nthree\r\n"));
    TFont huge = editor->Font();
    huge.SetHeight(-3000);
    editor->SetPrinterFont(huge);
    editor->SetUsePrinterFont(true);
    services.ChooseFile(Pdf("huge.pdf"));
    const int lines = form->ActiveDocument()->LineCount();
    EXPECT_EQ(MemoPrinter::Print(*editor, MemoPrinter::Printer()), lines);
    EXPECT_EQ(pdfPages(Pdf("huge.pdf")), lines);
    editor->SetUsePrinterFont(false);

    const QString unwritable = files.filePath(QStringLiteral("missing/folder/out.pdf"));
    services.ChooseFile(unwritable);
    EXPECT_EQ(MemoPrinter::Print(*editor, MemoPrinter::Printer()), 0);
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_TRUE(services.Messages().first().contains(QStringLiteral("Cannot print to the file")));
    EXPECT_TRUE(services.Messages().first().contains(QStringLiteral("out.pdf")));
    // The print's store operation is closed: typing edits and is seen.
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Z);
    EXPECT_EQ(form->ActiveDocument()->LineText(0), QByteArray("zone"));
}

// A UTF-8 document prints its characters, not its bytes as Windows-1252
// ("café" once printed as "cafÃ©"): what the PDF's text layer gives back.
TEST_F(PrintingTest, AUtf8DocumentPrintsItsCharacters)
{
    const QByteArray text = "caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC\r\n"           // accents, euro
                            "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC\r\n" // Greek
                            "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n"                 // CJK
                            "smile \xF0\x9F\x98\x80 end\r\n";                          // emoji
    Open(MakeFile(QStringLiteral("accents.txt"), text));
    ASSERT_EQ(form->ActiveDocument()->Encoding(), teUtf8);
    PrintWith(poPrintHeader, Pdf("utf8.pdf"));
    const QStringList pages = pdfPageTexts(Pdf("utf8.pdf"));
    ASSERT_EQ(pages.size(), 1);
    const QString page = pages.first();
    for (const char* expected : {"caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC",
                                 "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC",
                                 "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "smile", "end"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected << "\n" << page.toStdString();
    // No byte of a sequence shows as a character of its own.
    for (const char* mangled : {"\xC3\x83", "\xC3\x8E", "\xC3\xA6\xC2\x97"})
        EXPECT_FALSE(page.contains(QString::fromUtf8(mangled))) << page.toStdString();
}

// Without a printer the first PDF of a document is proposed beside it,
// named after it; later prints propose the file chosen last.
TEST_F(PrintingTest, APdfIsProposedBesideTheDocumentFirstThenTheLastOneChosen)
{
    OpenJava(20);
    QStringList proposed;
    QString answer;
    services.OnFileDialog = [&](TServices::TFileDialog& dialog) {
        proposed.append(dialog.fileName);
        dialog.fileName = answer;
        return true;
    };
    answer = Pdf("elsewhere.pdf");
    PrintWith(poPrintHeader, answer);
    answer = Pdf("again.pdf");
    PrintWith(poPrintHeader, answer);
    EXPECT_TRUE(QFile::exists(Pdf("again.pdf")));
    ASSERT_EQ(proposed.size(), 2);
    EXPECT_EQ(proposed[0], files.filePath(QStringLiteral("Sample.pdf")));
    EXPECT_EQ(proposed[1], Pdf("elsewhere.pdf"));

    // A text never saved has no folder: its PDF is proposed in the home
    // folder.
    MemoPrinter::Printer().setOutputFileName({});
    services.Settings().DeleteKey(QStringLiteral("Software\\TARNEL\\Print"));
    Item("FileItemsNew")->trigger();
    form->ActiveDocument()->InsertText("new text");
    answer = Pdf("untitled.pdf");
    PrintWith(poPrintHeader, answer);
    ASSERT_EQ(proposed.size(), 3);
    EXPECT_EQ(proposed[2], QDir::home().filePath(form->ActiveDocument()->FileName() + QStringLiteral(".pdf")));
    services.OnFileDialog = nullptr;
}
