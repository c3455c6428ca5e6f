#include "commatext.h"

namespace CommaText {

namespace {

bool IsSeparatorSpace(uchar c) { return c >= 1 && c <= 32; }

} // namespace

QList<QByteArray> Split(const QByteArray& text)
{
    QList<QByteArray> items;
    const int n = int(text.size());
    int i = 0;
    while (i < n && IsSeparatorSpace(uchar(text[i])))
        ++i;
    while (i < n) {
        QByteArray item;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
            // Text glued to a closing quote belongs to the item.
            while (i < n && text[i] != ',' && !IsSeparatorSpace(uchar(text[i])))
                item += text[i++];
        } else {
            while (i < n && text[i] != ',' && !IsSeparatorSpace(uchar(text[i])))
                item += text[i++];
        }
        items.append(item);
        while (i < n && IsSeparatorSpace(uchar(text[i])))
            ++i;
        if (i < n && text[i] == ',') {
            ++i;
            // A comma at the very end stands for one more, empty item.
            if (i >= n)
                items.append(QByteArray());
            while (i < n && IsSeparatorSpace(uchar(text[i])))
                ++i;
        }
    }
    return items;
}

} // namespace CommaText
