// What a clicked address becomes before it is handed to the system.

#include "urls.h"

#include <gtest/gtest.h>

namespace {

TEST(Urls, OpenableAddressesCarryASchemeAndNoAttachment)
{
    struct TCase {
        const char* clicked;
        const char* opened;
    };
    const TCase cases[] = {
        // Bare forms get their scheme.
        {"someone@example.com", "mailto:someone@example.com"},
        {"www.example.org", "http://www.example.org"},
        {"ftp.example.org", "ftp://ftp.example.org"},
        // Mail addresses lose the fields that attach a file, wherever they stand.
        {"mailto:a@b.example?subject=Hi&attach=/etc/passwd", "mailto:a@b.example?subject=Hi"},
        {"mailto:a@b.example?attach=/etc/passwd&subject=Hi", "mailto:a@b.example?subject=Hi"},
        {"MAILTO:a@b.example?subject=x&Attach=1&body=y", "MAILTO:a@b.example?subject=x&body=y"},
        {"mailto:a@b.example?ATTACHMENT=%2Fhome%2Fu%2F.ssh%2Fid_rsa", "mailto:a@b.example"},
        {"mailto:a@b.example?attach=1&attachment=2", "mailto:a@b.example"},
        // Spelled so that only a mail program's own decoding reveals them.
        {"mailto:a@b.example?%61ttach=/etc/passwd", "mailto:a@b.example"},
        {"mailto:a@b.example?%20attach%20=x&cc=c@d.example", "mailto:a@b.example?cc=c@d.example"},
        // ';' separates fields for some mail programs.
        {"mailto:a@b.example?subject=a;attach=/x", "mailto:a@b.example?subject=a"},
        // Values that merely mention the word stay, as do other fields.
        {"mailto:a@b.example?subject=attach&body=attachment", "mailto:a@b.example?subject=attach&body=attachment"},
        {"mailto:a@b.example?cc=c@d.example&subject=Hi", "mailto:a@b.example?cc=c@d.example&subject=Hi"},
        {"mailto:a@b.example", "mailto:a@b.example"},
        // Only mail addresses are rewritten.
        {"http://example.com/get?attach=x", "http://example.com/get?attach=x"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.clicked);
        EXPECT_EQ(Urls::ToOpenable(c.clicked), QByteArray(c.opened));
        EXPECT_EQ(Urls::WithoutAttachments(Urls::ToOpenable(c.clicked)), QByteArray(c.opened)) << "a second pass changes nothing";
    }
}

TEST(Urls, AnAttachmentFoundInALineIsDroppedBeforeOpening)
{
    const std::string_view line = "write to mailto:me@b.example?attach=/home/u/secret.txt&subject=hi now";
    Urls::TUrlRun run;
    ASSERT_TRUE(Urls::At(line, 12, run));
    const QByteArray found(line.data() + run.start, run.length);
    EXPECT_TRUE(Urls::IsSafeToOpen(Urls::ToOpenable(found)));
    EXPECT_EQ(Urls::ToOpenable(found), "mailto:me@b.example?subject=hi");
}

} // namespace
