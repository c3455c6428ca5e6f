#include "charsettext.h"

namespace CharSetText {

QByteArray Write(const TCharSet& set)
{
    QByteArray text;
    int c = 0;
    while (c < 256) {
        if (!set.Has(uchar(c))) {
            ++c;
            continue;
        }
        int last = c;
        while (last + 1 < 256 && set.Has(uchar(last + 1)))
            ++last;
        if (c == '\\' || c == '-')
            text += '\\';
        text += char(c);
        if (last > c) {
            text += '-';
            text += char(last);
        }
        c = last + 1;
    }
    return text;
}

TCharSet Read(const QByteArray& text)
{
    TCharSet set;
    int previous = -1;
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const uchar c = uchar(text[i]);
        if (c == '\\') {
            if (i + 1 >= n)
                break;
            previous = uchar(text[++i]);
            set.Add(uchar(previous));
        } else if (c == '-') {
            if (i + 1 >= n)
                break;
            const int last = uchar(text[++i]);
            // A range with nothing before it starts at the first code; one
            // that runs backwards adds nothing.
            const int first = previous < 0 ? 0 : previous;
            if (last >= first) {
                set.AddRange(uchar(first), uchar(last));
                previous = last;
            }
        } else {
            previous = c;
            set.Add(c);
        }
    }
    return set;
}

} // namespace CharSetText
