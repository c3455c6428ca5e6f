// Random edit scripts replayed against a plain model of the text: after every
// operation the store must read and save as the model does, line ends
// included; undoing everything must give back the loaded file byte for byte,
// and redoing everything the edited one.
//
// EDIT_SEEDS=first-last runs another range of scripts (tools/random-edits.sh
// runs long ranges under AddressSanitizer); EDIT_SEED=n replays one script.

#include "memosource.h"
#include "sourcestrings.h"
#include "textfixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using End = TStringItem::LineEnd;

struct ModelLine {
    std::string text;
    quint8 end = TStringItem::kEndDocument;
    bool edited = false;
};

struct TextModel {
    std::vector<ModelLine> lines;
    int line = 0;
    int column = 0;
    quint8 documentEnd = TStringItem::kEndCrLf;

    int Count() const { return int(lines.size()); }

    // Reads a file the plain way: CR LF, CR and LF each end a line.
    void Load(const std::string& bytes)
    {
        lines.clear();
        size_t start = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\r' && bytes[i] != '\n')
                continue;
            quint8 end = bytes[i] == '\n' ? TStringItem::kEndLf : TStringItem::kEndCr;
            const std::string text = bytes.substr(start, i - start);
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                end = TStringItem::kEndCrLf;
                ++i;
            }
            lines.push_back({text, end, false});
            start = i + 1;
        }
        if (start < bytes.size())
            lines.push_back({bytes.substr(start), TStringItem::kEndNone, false});
        if (!lines.empty() && lines[0].end != TStringItem::kEndNone)
            documentEnd = lines[0].end;
        for (ModelLine& l : lines) {
            if (l.end == documentEnd)
                l.end = TStringItem::kEndDocument;
        }
    }

    static const char* Bytes(quint8 end)
    {
        return end == TStringItem::kEndCrLf ? "\r\n" : end == TStringItem::kEndCr ? "\r" : end == TStringItem::kEndLf ? "\n" : "";
    }

    QByteArray Saved() const
    {
        QByteArray bytes;
        for (int i = 0; i < Count(); ++i) {
            const ModelLine& l = lines[size_t(i)];
            quint8 end = l.end == TStringItem::kEndDocument ? documentEnd : l.end;
            if (end == TStringItem::kEndNone && i + 1 < Count())
                end = documentEnd;
            bytes += QByteArray::fromStdString(l.text) + Bytes(end);
        }
        return bytes;
    }

    QByteArray Text() const
    {
        QByteArray text;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                text += "\r\n";
            text += QByteArray::fromStdString(lines[i].text);
        }
        return text;
    }

    void Materialize()
    {
        if (lines.empty())
            lines.push_back({"", TStringItem::kEndNone, false});
        const int keepColumn = column;
        const int keepLine = line;
        while (Count() <= keepLine) {
            line = Count() - 1;
            column = int(lines.back().text.size());
            LineBreak();
        }
        line = keepLine;
        column = keepColumn;
    }

    void Insert(const std::string& s)
    {
        if (s.empty())
            return;
        Materialize();
        ModelLine& l = lines[size_t(line)];
        if (int(l.text.size()) < column)
            l.text.append(size_t(column) - l.text.size(), ' ');
        l.text.insert(size_t(column), s);
        l.edited = true;
    }

    void Delete(int count)
    {
        if (line >= Count() || column >= int(lines[size_t(line)].text.size()))
            return;
        lines[size_t(line)].text.erase(size_t(column), size_t(count));
        lines[size_t(line)].edited = true;
    }

    // The head keeps its text up to the caret and ends the document's way;
    // the tail keeps the line's end. A part whose text is unchanged keeps
    // the line's edit mark.
    void LineBreak()
    {
        Materialize();
        ModelLine& head = lines[size_t(line)];
        const size_t at = std::min(size_t(column), head.text.size());
        ModelLine tail{head.text.substr(at), head.end, at > 0 || head.edited};
        if (at < head.text.size())
            head.edited = true;
        head.text.erase(at);
        head.end = TStringItem::kEndDocument;
        lines.insert(lines.begin() + line + 1, tail);
    }

    void Join()
    {
        if (line + 1 >= Count())
            return;
        ModelLine& head = lines[size_t(line)];
        const ModelLine tail = lines[size_t(line) + 1];
        column = int(head.text.size());
        const bool edited = (!head.text.empty() && !tail.text.empty()) || (head.text.empty() ? tail.edited : head.edited);
        head.text += tail.text;
        head.end = tail.end;
        head.edited = edited;
        lines.erase(lines.begin() + line + 1);
    }

    void Move(int dLines, int dColumns, bool keepTrailing)
    {
        dLines = std::max(dLines, -line);
        dColumns = std::max(dColumns, -column);
        if (line + dLines >= Count())
            dLines = std::max(0, Count() - 1) - line;
        if (dLines == 0 && dColumns == 0)
            return;
        if (dLines != 0 && !keepTrailing && line < Count() && lines[size_t(line)].edited) {
            std::string& text = lines[size_t(line)].text;
            while (!text.empty() && uchar(text.back()) <= 32)
                text.pop_back();
        }
        line += dLines;
        column += dColumns;
    }

    // Lines.Put, Insert and Delete, built as the store builds them from the
    // operations; caret and selection stay where they were.
    void PutLine(int i, const std::string& s)
    {
        const int keepLine = line, keepColumn = column;
        line = i;
        column = 0;
        Delete(int(lines[size_t(i)].text.size()));
        Insert(s);
        line = keepLine;
        column = keepColumn;
    }

    void InsertLine(int i, const std::string& s)
    {
        const int keepLine = line, keepColumn = column;
        if (Count() == 0) {
            line = column = 0;
            Materialize();
        } else if (i < Count()) {
            line = i;
            column = 0;
            LineBreak();
        } else {
            line = Count() - 1;
            column = int(lines.back().text.size());
            LineBreak();
            line = Count() - 1;
            column = 0;
        }
        Insert(s);
        line = keepLine;
        column = keepColumn;
    }

    void DeleteLine(int i)
    {
        const int keepLine = line, keepColumn = column;
        line = i;
        column = 0;
        Delete(int(lines[size_t(i)].text.size()));
        if (i + 1 < Count()) {
            Join();
        } else if (i > 0) {
            line = i - 1;
            Join();
        } else {
            lines.clear();
        }
        line = keepLine;
        column = keepColumn;
    }
};

std::string RandomText(std::mt19937& random, int maxLength)
{
    static const char kChars[] = "ab x";
    std::uniform_int_distribution<int> length(1, maxLength);
    std::uniform_int_distribution<int> pick(0, 3);
    std::string s(size_t(length(random)), ' ');
    for (char& c : s)
        c = kChars[pick(random)];
    return s;
}

void ExpectStoreIsModel(TMemoSource& source, const TextModel& model, unsigned seed, const char* where)
{
    ASSERT_EQ(source.Lines().Text(), model.Text()) << "seed " << seed << " " << where;
    ASSERT_EQ(source.SavedBytes(), model.Saved()) << "seed " << seed << " " << where;
    ASSERT_EQ(source.Caret(), (TTextPos{model.line, model.column})) << "seed " << seed << " " << where;
}

void RunScript(unsigned seed, bool groupUndo, bool keepTrailing)
{
    std::mt19937 random(seed);
    auto roll = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };

    // A file of a few lines, with blanks at their ends and any mix of line
    // ends, the last line ending or not.
    std::string file;
    for (int i = roll(0, 4); i > 0; --i) {
        file += RandomText(random, 6);
        static const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\n"};
        file += kEnds[roll(0, 3)];
    }
    if (roll(0, 2) == 0)
        file += RandomText(random, 3);
    TextModel model;
    model.Load(file);
    const QByteArray loaded = QByteArray::fromStdString(file);

    TMemoSource source;
    source.SetOptions(groupUndo ? source.Options() | soGroupUndo : source.Options() & ~TStringsOptions(soGroupUndo));
    source.SetKeepTrailingBlanks(keepTrailing);
    source.Lines().SetText(loaded);
    source.SetSavePoint();
    ExpectStoreIsModel(source, model, seed, "loaded");
    if (testing::Test::HasFatalFailure())
        return;

    for (int round = 0; round < 2; ++round) {
        const int steps = roll(5, 40);
        for (int step = 0; step < steps; ++step) {
            const int op = roll(0, 11);
            const int reason = 20 + roll(0, 2);
            source.BeginUpdate(reason);
            switch (op) {
            case 0:
            case 1: {
                const std::string s = RandomText(random, 3);
                source.InsertString(QByteArray::fromStdString(s));
                model.Insert(s);
                break;
            }
            case 2: {
                const int n = roll(1, 3);
                source.DeleteChars(n);
                model.Delete(n);
                break;
            }
            case 3:
                source.InsertLineBreak();
                model.LineBreak();
                break;
            case 4:
                source.JoinLines();
                model.Join();
                break;
            case 5:
            case 6: {
                const int dLines = roll(-2, 2);
                const int dColumns = roll(-4, 5);
                source.MoveCaret(dLines, dColumns);
                model.Move(dLines, dColumns, keepTrailing);
                break;
            }
            case 7: {
                const TTextPos a{roll(0, 3), roll(0, 6)};
                const TTextPos b{roll(0, 3), roll(0, 6)};
                source.SetSelection(a, b, roll(1, 2));
                break;
            }
            case 8: {
                const int i = roll(0, std::max(0, model.Count() - 1));
                const std::string s = RandomText(random, 5);
                source.Lines().Put(i, QByteArray::fromStdString(s));
                if (i < model.Count())
                    model.PutLine(i, s);
                break;
            }
            case 9: {
                const int i = roll(0, model.Count());
                const std::string s = RandomText(random, 5);
                source.Lines().Insert(i, QByteArray::fromStdString(s));
                model.InsertLine(i, s);
                break;
            }
            case 10: {
                if (model.Count() > 0) {
                    const int i = roll(0, model.Count() - 1);
                    source.Lines().Delete(i);
                    model.DeleteLine(i);
                }
                break;
            }
            case 11:
                source.ExtendSelection(source.Caret(), {roll(0, 3), roll(0, 6)}, roll(1, 2));
                break;
            }
            source.EndUpdate();
            const std::string where = "step " + std::to_string(step) + " op " + std::to_string(op);
            ExpectStoreIsModel(source, model, seed, where.c_str());
            if (testing::Test::HasFatalFailure())
                return;
        }

        const QByteArray edited = source.SavedBytes();
        while (source.CanUndo())
            source.Undo();
        ASSERT_EQ(source.SavedBytes(), loaded) << "seed " << seed;
        ASSERT_EQ(source.Caret(), (TTextPos{0, 0})) << "seed " << seed;
        ASSERT_FALSE(source.Modified()) << "seed " << seed;
        while (source.CanRedo())
            source.Redo();
        ASSERT_EQ(source.SavedBytes(), edited) << "seed " << seed;
        ASSERT_EQ(source.Caret(), (TTextPos{model.line, model.column})) << "seed " << seed;
        if (edited != loaded) {
            ASSERT_TRUE(source.Modified()) << "seed " << seed;
        }
        // An empty text may be held as no line or as one empty line that
        // ends nowhere, and replaying edits marks the lines it touches: the
        // model follows the store in both before the next round.
        if (model.Saved().isEmpty() && source.SavedBytes().isEmpty())
            model.lines.assign(size_t(source.LineCount()), ModelLine{"", TStringItem::kEndNone, false});
        for (int i = 0; i < model.Count(); ++i)
            model.lines[size_t(i)].edited = source.Strings().Item(i).Has(TStringItem::kEdited);
    }
}

// The seeds of a run: EDIT_SEED=n for one, EDIT_SEEDS=first-last for a range,
// else the given range.
std::pair<unsigned, unsigned> Seeds(unsigned first, unsigned last)
{
    if (const char* one = std::getenv("EDIT_SEED"))
        return {unsigned(std::atol(one)), unsigned(std::atol(one))};
    if (const char* range = std::getenv("EDIT_SEEDS")) {
        const std::string text(range);
        const size_t dash = text.find('-');
        if (dash != std::string::npos)
            return {unsigned(std::stoul(text.substr(0, dash))), unsigned(std::stoul(text.substr(dash + 1)))};
    }
    return {first, last};
}

TEST(RandomEdits, UndoAndRedoReplayThousandsOfScriptsExactly)
{
    const auto [first, last] = Seeds(1, 4000);
    for (unsigned seed = first; seed <= last; ++seed) {
        RunScript(seed, seed % 2 == 0, seed % 5 == 0);
        if (HasFatalFailure())
            return;
        if (seed % 10000 == 0)
            std::fprintf(stderr, "replayed scripts up to seed %u\n", seed);
    }
    std::fprintf(stderr, "replayed %u scripts (seeds %u-%u)\n", last - first + 1, first, last);
}

} // namespace
