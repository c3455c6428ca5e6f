#pragma once

#include <QByteArray>

#include <string_view>
#include <vector>

// Web, ftp and mail addresses inside a line of text.
namespace Urls {

struct TUrlRun {
    int start = 0;
    int length = 0;
};

// Every address in text: "http://", "https://", "ftp://" and "mailto:"
// addresses, bare "www." and "ftp." hosts, and e-mail addresses.
std::vector<TUrlRun> Find(std::string_view text);
// The address covering column, if any.
bool At(std::string_view text, int column, TUrlRun& run);
// True for an e-mail address written without a scheme.
bool IsBareEmail(const QByteArray& url);
// The address to hand to the system: a bare e-mail address gets "mailto:",
// a bare "www." host "http://", a bare "ftp." host "ftp://"; a mail address
// loses its attachment fields (WithoutAttachments).
QByteArray ToOpenable(const QByteArray& url);
// A "mailto:" address without the query fields that ask a mail program to
// attach a file ("attach", "attachment", any name starting with "attach",
// in any case, also percent-encoded); the other fields keep their order and
// spelling. Any other address comes back unchanged.
QByteArray WithoutAttachments(const QByteArray& url);
// True when the address may be handed to the system shell: only web, ftp and
// mail addresses, never a local file or program.
bool IsSafeToOpen(const QByteArray& url);

} // namespace Urls
