// The print path. Geometry: the page image is the printable area measured
// in screen pixels (page size × screen dpi / printer dpi), less one line for
// the header, cut to whole rows and (monospaced) whole columns; the print
// control's client area is that image, so wrapping cuts lines at the page
// width. A page is the rows from its first row down, painted into a QPicture
// and replayed scaled by printer dpi / screen dpi below the header.

#include "memoprinter.h"

#include "dcmemo.h"
#include "memoprintprogress.h"
#include "memosource.h"
#include "paintfont.h"
#include "services.h"
#include "settingsstore.h"
#include "sourcestrings.h"
#include "textstyle.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>

#include <algorithm>
#include <memory>

namespace {

const QString kPrintKey = QStringLiteral("Software\\TARNEL\\Print");
const QString kPdfValue = QStringLiteral("PdfFile");

std::function<void(int, TMemoPrintProgress*)>& pageHook()
{
    static std::function<void(int, TMemoPrintProgress*)> hook;
    return hook;
}

// The first PDF of a document: its name with ".pdf", in its folder (the
// home folder for a text that has none yet).
QString pdfBesideDocument(const QString& documentName)
{
    const QFileInfo document(documentName.isEmpty() ? QStringLiteral("Untitled") : documentName);
    const QString folder = document.isAbsolute() ? document.absolutePath() : QDir::homePath();
    return QDir(folder).filePath(document.completeBaseName() + QStringLiteral(".pdf"));
}

// A PDF print goes to a file the user names each time, the last one
// proposed: printing never overwrites a file unasked.
bool choosePdfFile(QPrinter& printer, const QString& documentName)
{
    TServices::TFileDialog dialog;
    dialog.title = QStringLiteral("Print to File");
    dialog.filter = QStringLiteral("PDF Files (*.pdf)|*.pdf");
    dialog.defaultExt = QStringLiteral("pdf");
    dialog.fileName = printer.outputFileName();
    if (dialog.fileName.isEmpty())
        dialog.fileName = Services().Settings().ReadString(kPrintKey, kPdfValue);
    if (dialog.fileName.isEmpty())
        dialog.fileName = pdfBesideDocument(documentName);
    dialog.initialDir = QFileInfo(dialog.fileName).absolutePath();
    if (!Services().SaveFileDialog(dialog) || dialog.fileName.isEmpty())
        return false;
    printer.setOutputFileName(dialog.fileName);
    Services().Settings().WriteString(kPrintKey, kPdfValue, dialog.fileName);
    return true;
}

QString printerName(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("Print to File (PDF)");
    return printer.printerName();
}

QString printerError(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("Cannot print to the file \"%1\": it could not be written.")
            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    return QStringLiteral("Cannot print on printer \"%1\": the printer reported an error.").arg(printer.printerName());
}

// Step 2 and 4 of the print path: the print control takes the screen
// control's look, without the margin line and the gutter, and in black on
// white without poInColor.
void configure(TDCMemo& print, TCustomDCMemo& memo, TDCPrintOptions options)
{
    print.SetPrintOptions(options);
    print.SetLineNumColor(memo.LineNumColor());
    print.SetLineNumAlign(memo.LineNumAlign());
    print.SetStringsOptions(memo.StringsOptions());
    print.SetDelimeters(memo.Delimeters());
    print.SetSelColor(memo.SelColor());
    print.SetSelBackColor(memo.SelBackColor());
    print.SetMatchColor(memo.MatchColor());
    print.SetMatchBackColor(memo.MatchBackColor());
    // A search's marks are the screen's, not the page's.
    print.SetShowSearchMatches(false);
    print.SetBorderStyle(bsNone);
    print.SetUseMonoFont(memo.UseMonoFont());
    print.SetTextStyles(memo.TextStyles());
    print.SetColor(memo.Color());
    print.SetHighlightUrls(memo.HighlightUrls());
    print.SetLineNumBackColor(memo.LineNumBackColor());
    print.SetTabStops(memo.TabStops());
    print.SetSpacesInTab(memo.SpacesInTab());
    print.SetFont(memo.UsePrinterFont() ? memo.PrinterFont() : memo.Font());

    TMemoOptions memoOptions = memo.Options();
    int leftIndent = memo.LeftIndent();
    if (!memoOptions.testFlag(moLeftIndent) && memo.PrintIndent() != 0) {
        memoOptions |= moLeftIndent;
        leftIndent = memo.PrintIndent();
    }
    // Paper shows every line: no fold column, nothing folded.
    memoOptions &= ~TMemoOptions(moDrawMargin | moDrawGutter | moLineNumbers | moHideInvisibleLines);
    memoOptions.setFlag(moColorSyntax, options.testFlag(poPrintSyntax));
    memoOptions.setFlag(moLineNumbers, options.testFlag(poLineNumbers));
    print.SetOptions(memoOptions);
    print.SetLeftIndent(leftIndent);
    if (options.testFlag(poWrapLines)) {
        print.SetMarginPos(memo.MarginPos());
        print.SetWordWrap(true);
    }
    print.SetSyntaxParser(options.testFlag(poPrintSyntax) ? memo.SyntaxParser() : nullptr);

    if (!options.testFlag(poInColor)) {
        TFont font = print.Font();
        font.SetColor(clBlack);
        print.SetFont(font);
        print.SetColor(clWindow);
        for (int i = 0; i < print.TextStyles()->Count(); ++i) {
            TTextStyle* style = print.TextStyles()->At(i);
            style->SetUseMemoColor(true);
            TFont styleFont = style->Font();
            styleFont.SetColor(clBlack);
            style->SetFont(styleFont);
        }
        print.SetLineNumBackColor(clWindow);
        print.SetLineNumColor(clWindowText);
        // The parser's own fonts carry colours too: every attribute is
        // painted black on the control's colour.
        print.OnGetAttrColors = [](TCustomDCMemo& sender, int, TFont& font, TColor& back) {
            font.SetColor(clBlack);
            back = sender.Color();
        };
    }
}

// Step 5: the text, or the lines of the selection numbered from the first.
void copyText(TDCMemo& print, TCustomDCMemo& memo, TDCPrintOptions options)
{
    TCustomMemoSource& source = *memo.MemoSource();
    int first = 0;
    int last = source.LineCount() - 1;
    if (options.testFlag(poPrintSel) && source.HasSelection()) {
        first = source.BlockBegin().line;
        last = std::min(last, source.BlockEnd().line);
        // A selection that ends at a line's start holds nothing of that line.
        if (last > first && source.BlockEnd().column == 0)
            --last;
        if (first > 0 && options.testFlag(poPrintSyntax) && source.SyntaxParser()) {
            source.LineAttributes(first - 1);
            print.MemoSource()->SetInitialState(source.Strings().Item(first - 1).endState);
        }
        print.OnGetLineNumber = [first](TCustomDCMemo&, QString& text, int line) {
            text = QString::number(line + 1 + first);
        };
    }
    // The bytes are the document's and read in its encoding: a UTF-8 text
    // taken as Windows-1252 would print each character as two or three.
    print.MemoSource()->SetEncoding(source.Encoding());
    QByteArray text;
    for (int line = first; line <= last; ++line) {
        const std::string_view raw = source.Strings().RawText(line);
        if (line > first)
            text += "\r\n";
        text.append(raw.data(), qsizetype(raw.size()));
    }
    print.Lines().SetText(text);
}

QFont printerFont(const TFont& font, double scale, bool bold)
{
    QFont result = ToQFont(font);
    if (result.pixelSize() > 0)
        result.setPixelSize(std::max(1, int(result.pixelSize() * scale + 0.5)));
    result.setBold(bold || font.Style().testFlag(TFont::fsBold));
    return result;
}

} // namespace

namespace MemoPrinter {

QPrinter& Printer()
{
    static std::unique_ptr<QPrinter> printer;
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (QPrinterInfo::defaultPrinter().isNull())
            printer->setOutputFormat(QPrinter::PdfFormat);
    }
    return *printer;
}

QString DocumentName(const TCustomDCMemo& memo)
{
    const QString name = memo.MemoSource() ? memo.MemoSource()->FileName() : QString();
    return name.isEmpty() ? QStringLiteral("<Unknown>") : name;
}

void SetPageHook(std::function<void(int page, TMemoPrintProgress* progress)> hook)
{
    pageHook() = std::move(hook);
}

int Print(TCustomDCMemo& memo, QPrinter& printer)
{
    TCustomMemoSource* source = memo.MemoSource();
    if (!source || source->LineCount() == 0 || (source->LineCount() == 1 && source->LineLength(0) == 0))
        return 0;
    if (printer.outputFormat() == QPrinter::PdfFormat && !choosePdfFile(printer, source->FileName()))
        return 0;
    const TDCPrintOptions options = memo.PrintOptions();

    TCustomMemoSource::TUpdate update(*source, Reason::kPrint, true);
    std::unique_ptr<TMemoPrintProgress> progress;
    if (options.testFlag(poShowProgress)) {
        progress = std::make_unique<TMemoPrintProgress>(memo.window());
        progress->setWindowModality(Qt::WindowModal);
        progress->SetFileName(DocumentName(memo));
        progress->show();
        progress->SetPrinterName(printerName(printer));
        progress->SetPage(1, QStringLiteral(" ... "));
        progress->Bar()->setValue(0);
        QCoreApplication::processEvents();
    }

    TDCMemo print;
    print.setAttribute(Qt::WA_DontShowOnScreen);
    configure(print, memo, options);
    const QString header = options.testFlag(poPrintSel) && source->HasSelection() ? QStringLiteral("<Selected block>")
                                                                                   : DocumentName(memo);
    copyText(print, memo, options);

    // Step 6: geometry, in screen pixels for the control.
    print.show();
    const double screenX = print.logicalDpiX(), screenY = print.logicalDpiY();
    const double printerX = printer.logicalDpiX(), printerY = printer.logicalDpiY();
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int lineHeight = print.LineHeight();
    const int charWidth = std::max(1, print.CharWidth());
    int imageWidth = int(page.width() * screenX / printerX);
    int imageHeight = int(page.height() * screenY / printerY);
    if (options.testFlag(poPrintHeader))
        imageHeight -= lineHeight;
    if (print.UseMonoFont()) {
        imageWidth = imageWidth / charWidth * charWidth;
        imageHeight = imageHeight / lineHeight * lineHeight;
    }
    // A font too large for the page still gets one row a page; with none,
    // the page count would be 0 and a proportional layout would page on
    // without end.
    const int rowsPerPage = std::max(1, imageHeight / lineHeight);
    imageWidth = std::max(imageWidth, charWidth);
    print.resize(imageWidth, rowsPerPage * lineHeight);

    // Step 7: the pages, counted by stepping the rows a page at a time.
    const int lines = print.MemoSource()->LineCount();
    int pages = 0;
    for (TRowPos top{0, 0}; top.line < lines; top = print.RowBelow(top, rowsPerPage))
        ++pages;

    if (progress) {
        progress->SetPage(1, QString::number(pages));
        progress->Bar()->setRange(0, 4 * pages);
        QCoreApplication::processEvents();
    }

    const double scaleY = printerY / screenY;
    const int headerHeight = options.testFlag(poPrintHeader) ? int(lineHeight * scaleY + 0.5) : 0;
    QPainter painter;
    int sent = 0;
    bool failed = false;
    TRowPos top{0, 0};
    for (int pageNo = 1; pageNo <= pages; ++pageNo) {
        if (progress && progress->Cancelled())
            break;
        if (pageNo == 1) {
            if (!painter.begin(&printer)) {
                failed = true;
                break;
            }
        } else if (!printer.newPage()) {
            failed = true;
            break;
        }
        if (progress) {
            progress->SetPage(pageNo, QString::number(pages));
            progress->Bar()->setValue(4 * (pageNo - 1));
        }
        QPicture picture;
        {
            QPainter pagePainter(&picture);
            print.PaintRowsFrom(pagePainter, top, rowsPerPage);
        }
        painter.save();
        painter.translate(0, headerHeight);
        // A picture replays itself scaled by the device's dpi over its own;
        // what is left brings the screen's dpi to the picture's.
        painter.scale(picture.logicalDpiX() / screenX, picture.logicalDpiY() / screenY);
        painter.drawPicture(0, 0, picture);
        painter.restore();

        if (options.testFlag(poPrintHeader)) {
            painter.save();
            painter.setPen(Qt::black);
            const QFont plain = printerFont(print.Font(), scaleY, false);
            painter.setFont(plain);
            painter.drawText(QRect(0, 0, page.width(), headerHeight), Qt::AlignLeft | Qt::AlignVCenter, header);
            const QFont bold = printerFont(print.Font(), scaleY, true);
            painter.setFont(bold);
            const QFontMetrics metrics(bold, &printer);
            const QString number = QStringLiteral("Page %1/%2").arg(pageNo).arg(pages);
            const int width = metrics.horizontalAdvance(number);
            const int x = page.width() - width - metrics.averageCharWidth();
            painter.drawText(QRect(x, 0, width + metrics.averageCharWidth(), headerHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, number);
            painter.restore();
        }
        ++sent;
        top = print.RowBelow(top, rowsPerPage);
        if (progress)
            progress->Bar()->setValue(4 * pageNo);
        if (pageHook())
            pageHook()(pageNo, progress.get());
        if (progress)
            QCoreApplication::processEvents();
    }
    if (painter.isActive() && !painter.end())
        failed = true;
    if (failed || printer.printerState() == QPrinter::Error) {
        progress.reset();
        Services().ShowError(printerError(printer));
    }
    return failed ? 0 : sent;
}

} // namespace MemoPrinter
