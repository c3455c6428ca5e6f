#pragma once

#include "font.h"

#include <QString>

#include <functional>

class QPrinter;
class TCustomDCMemo;
class TMemoPrintProgress;

// Printing an editor control's text. The pages come from a hidden second
// control configured like the screen one for paper (fonts or the printer
// font, syntax colours, line numbers, wrapping); each page is painted by
// that control's own painting into a QPicture, which is replayed scaled
// onto the printer page, so paper shows what the screen shows and there is
// no second renderer. One page is held at a time: memory does not grow
// with the page count.
namespace MemoPrinter {

// The printer documents go to, made on first use: the system's default
// printer, or a PDF file where the system has none.
QPrinter& Printer();

// Prints memo's text with its PrintOptions on printer, the whole print one
// operation of the text store. An empty text prints nothing. Printing to a
// PDF asks for the file (proposing the last one). A printer that fails
// ends the job and is reported. Returns the pages sent.
int Print(TCustomDCMemo& memo, QPrinter& printer);

// The name the header and the dialogs show: the store's file name, or
// "<Unknown>".
QString DocumentName(const TCustomDCMemo& memo);

// A test seam: run after each page went out, with the progress window
// (null without poShowProgress), before the loop looks at its "Cancel".
void SetPageHook(std::function<void(int page, TMemoPrintProgress* progress)> hook);

} // namespace MemoPrinter
