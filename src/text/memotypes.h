#pragma once

#include <QObject>

// The enumerations of the text store, in the member order that is also the
// bit order of their stored sets.
namespace MemoTypes {
Q_NAMESPACE

enum TStringsOption : quint32 {
    soBackUnindents = 1u << 0,
    soGroupUndo = 1u << 1,
    soBeyondFileEnd = 1u << 2,
    soForceCutCopy = 1u << 3,
    soAutoIndent = 1u << 4,
    soSmartTab = 1u << 5,
    soFindTextAtCursor = 1u << 6,
    soCreateBackups = 1u << 7,
    soPersistentBlocks = 1u << 8,
    soOverwriteBlocks = 1u << 9,
    soLimitEOL = 1u << 10,
    soUseTabCharacter = 1u << 11,
    soCursorOnTabs = 1u << 12,
    soOptimalFill = 1u << 13,
    soSelectFoundText = 1u << 14,
    soExcludeReadOnlyLines = 1u << 15,
    soCursorAlwaysOnTabs = 1u << 16,
    soUsePrevIndent = 1u << 17,
};
Q_DECLARE_FLAGS(TStringsOptions, TStringsOption)
Q_FLAG_NS(TStringsOptions)

enum TBlockOption { bkStreamSel, bkBlockSel, bkNone, bkBoth };
Q_ENUM_NS(TBlockOption)

enum TOutFormatType { ofWindows, ofMac, ofUnix };
Q_ENUM_NS(TOutFormatType)

// How a document's bytes are read as characters. The store keeps the file's
// bytes whichever it is; the encoding decides what they show and how typed
// text is written.
enum TTextEncoding { teWindows1252, teUtf8, teOem };
Q_ENUM_NS(TTextEncoding)

} // namespace MemoTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(MemoTypes::TStringsOptions)

using MemoTypes::TBlockOption;
using MemoTypes::TOutFormatType;
using MemoTypes::TTextEncoding;
using MemoTypes::TStringsOption;
using MemoTypes::TStringsOptions;
using enum MemoTypes::TStringsOption;
using enum MemoTypes::TBlockOption;
using enum MemoTypes::TOutFormatType;
using enum MemoTypes::TTextEncoding;

// The settings a text store starts with.
namespace Defaults {
constexpr TStringsOptions kOptions = soBackUnindents | soGroupUndo | soForceCutCopy | soAutoIndent | soSmartTab
                                     | soFindTextAtCursor | soOverwriteBlocks;
inline const QString kDelimeters = QStringLiteral("/{}+-*():=,;><$.#[]^@&~|%'");
inline const QString kTabStops = QStringLiteral("9,17");
} // namespace Defaults

// Selection modes of a text store.
enum TSelectionMode : quint8 { smNone = 0, smStream = 1, smBlock = 2 };

// Reason codes of update brackets: they name the operation, are stored in
// each undo record and decide how far one undo step reaches.
namespace Reason {
constexpr int kLineBreak = 1;
constexpr int kCaretMove = 2;
constexpr int kJoin = 3;
constexpr int kInsertText = 4;
constexpr int kDeleteChars = 5;
constexpr int kDeleteLine = 9;
constexpr int kSelection = 16;
constexpr int kSetSelection = 17;
constexpr int kInsertLine = 39;
constexpr int kResetPositions = 47;
constexpr int kAttachView = 50;
constexpr int kFileName = 56;
constexpr int kAttributesReset = 57;
constexpr int kClear = 58;
constexpr int kPutLine = 59;
constexpr int kSetText = 60;
constexpr int kLoaded = 61;
constexpr int kReadOnly = 70;
// The editing commands built on the five operations.
constexpr int kTypeChar = 80;
constexpr int kNewLine = 81;
constexpr int kTab = 82;
constexpr int kBackTab = 83;
constexpr int kBackspace = 84;
constexpr int kDeleteChar = 85;
constexpr int kDeleteWordLeft = 86;
constexpr int kDeleteWordRight = 87;
constexpr int kDeleteCaretLine = 88;
constexpr int kDeleteToLineEnd = 89;
constexpr int kCopyBlock = 90;
constexpr int kMoveBlock = 91;
constexpr int kDeleteBlock = 92;
constexpr int kIndentBlock = 93;
constexpr int kUnindentBlock = 94;
constexpr int kChangeCase = 95;
constexpr int kQuoteBlock = 96;
constexpr int kInsertGuid = 97;
constexpr int kInsertTextAtCaret = 98;
constexpr int kReplaceSelection = 99;
constexpr int kCut = 100;
constexpr int kPaste = 101;
constexpr int kOemConvert = 102;
constexpr int kExpandTemplate = 103;
constexpr int kSearch = 104;
constexpr int kReplace = 105;
constexpr int kLineEnd = 106;
constexpr int kPrint = 107;
constexpr int kEncoding = 108;
} // namespace Reason

// How much selecting the word at the caret takes: the word alone, the word
// and the blanks behind it, or everything up to the next word.
enum class TWordSelection : quint8 { WordOnly, WordWithSpace, UntilNextWord };

// Bits of the change mask a text store sends its views at the end of an
// outermost update.
namespace Change {
constexpr quint16 kCaretMoved = 0x0001;
constexpr quint16 kText = 0x0002;
constexpr quint16 kUndoRedo = 0x0004;
constexpr quint16 kSelection = 0x0008;
constexpr quint16 kLineCount = 0x0020;
constexpr quint16 kModified = 0x0040;
constexpr quint16 kRepaint = 0x0080;
constexpr quint16 kFileName = 0x0100;
constexpr quint16 kAttributesReset = 0x0400;
constexpr quint16 kReadOnly = 0x0800;
// The match the last search found came or went (FoundMatch()).
constexpr quint16 kSearchMatch = 0x0200;
// Folds were collapsed or expanded: other lines are hidden.
constexpr quint16 kFolding = 0x2000;
// Everything a newly attached view must draw.
constexpr quint16 kAttach = 0x057D;
} // namespace Change

// One change notice: the mask and the changed lines (lastLine kToEnd: to the
// end of the text and beyond, as lines were inserted or removed).
struct TMemoChange {
    static constexpr int kToEnd = 0x7fffffff;
    quint16 flags = 0;
    int firstLine = 0;
    int lastLine = -1;
};
