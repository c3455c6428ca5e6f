// Quick Open: the ranking of names against a typed text, typing on over
// the last matches, and the box in the window over a real folder.

#include "shellfixture.h"

#include "quickopenfilter.h"
#include "quickopenform.h"
#include "quickopenindex.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>

namespace {

QStringList names(const TQuickOpenFilter& filter, const std::vector<int>& picked)
{
    QStringList out;
    for (int index : picked)
        out.append(filter.Name(index));
    return out;
}

TQuickOpenFilter filterOf(const QStringList& paths, const QStringList& recent = {})
{
    std::vector<TQuickOpenFilter::TEntry> entries;
    for (const QString& path : paths)
        entries.push_back({path, QString(), recent.contains(path)});
    TQuickOpenFilter filter;
    filter.SetEntries(std::move(entries));
    return filter;
}

} // namespace

TEST(QuickOpenFilter, RanksWholeWordsStartsAndRunsFirst)
{
    struct Case {
        const char* text;
        QStringList paths;
        QStringList expected;
    };
    const Case cases[] = {
        // In one piece at the start, then at a word start, then the
        // characters on word starts, then in one piece anywhere.
        {"usi",
         {"/p/busier.txt", "/p/UserServiceImpl.java", "/p/Usinfo.txt", "/p/AbstractUserServiceImpl.java"},
         {"Usinfo.txt", "UserServiceImpl.java", "AbstractUserServiceImpl.java", "busier.txt"}},
        {"main", {"/p/remain.txt", "/p/DomainModel.java", "/p/MainForm.java", "/p/Main.java"},
         {"Main.java", "MainForm.java", "remain.txt", "DomainModel.java"}},
        {"mf", {"/p/myfile.txt", "/p/MainForm.java", "/p/mf.txt"}, {"mf.txt", "MainForm.java", "myfile.txt"}},
        // Case does not matter; the folder does not count; no match, nothing.
        {"MAIN", {"/main/x.txt", "/p/main.c"}, {"main.c"}},
        {"xyz", {"/p/a.txt"}, {}},
        // After ".", "_", "-" a word starts; at equal scores the shorter name.
        {"jsp", {"/web/form-jsp.txt", "/web/page.jsp", "/web/ajspx"}, {"page.jsp", "form-jsp.txt", "ajspx"}},
    };
    for (const Case& c : cases) {
        TQuickOpenFilter filter = filterOf(c.paths);
        EXPECT_EQ(names(filter, filter.Filter(QString::fromLatin1(c.text), 50)), c.expected) << c.text;
    }
}

TEST(QuickOpenFilter, RecentFilesComeFirstAndEachPathOnce)
{
    const QStringList paths{"/p/b.txt", "/p/a.txt", "/r/a.txt", "/p/b.txt"};
    TQuickOpenFilter filter = filterOf(paths, {"/r/a.txt"});
    EXPECT_EQ(filter.Count(), 3);
    const std::vector<int> all = filter.Filter(QString(), 50);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(filter.Entry(all[0]).path, "/r/a.txt");
    // Equal matches: the recent one first.
    const std::vector<int> a = filter.Filter("a", 50);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(filter.Entry(a[0]).path, "/r/a.txt");
    EXPECT_EQ(filter.Filter("t", 1).size(), 1u);
}

TEST(QuickOpenFilter, TypingOnFindsWhatAFreshFilterFinds)
{
    // Random names and random typing with Backspace: the narrowed search
    // must give exactly the fresh one's list at every key.
    QRandomGenerator random(7);
    const QString letters = QStringLiteral("abcdeMNOPxyz._-");
    QStringList paths;
    for (int i = 0; i < 3000; ++i) {
        QString name;
        for (int n = 3 + random.bounded(14); n > 0; --n)
            name += letters.at(random.bounded(int(letters.size())));
        paths.append(QStringLiteral("/f%1/%2").arg(i % 17).arg(name));
    }
    TQuickOpenFilter typing = filterOf(paths);
    QString text;
    for (int key = 0; key < 400; ++key) {
        if (!text.isEmpty() && random.bounded(4) == 0)
            text.chop(1);
        else if (text.size() < 6)
            text += letters.at(random.bounded(int(letters.size())));
        else
            text.clear();
        TQuickOpenFilter fresh = filterOf(paths);
        ASSERT_EQ(typing.Filter(text, 40), fresh.Filter(text, 40)) << text.toStdString();
    }
}

TEST(QuickOpenIndex, WalksAllButHiddenAndToolFolders)
{
    QTemporaryDir dir;
    for (const char* name : {"a/b/deep.java", "top.jsp", ".hidden/x.txt", "node_modules/m.js", "build/out.txt",
                             "target/t.class", ".git/HEAD", "a/.dot.txt"}) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    std::atomic<bool> cancel = false;
    QStringList found = TQuickOpenIndex::Walk(dir.path(), cancel);
    found.sort();
    EXPECT_EQ(found, (QStringList{dir.filePath("a/b/deep.java"), dir.filePath("top.jsp")}));
    cancel = true;
    EXPECT_TRUE(TQuickOpenIndex::Walk(dir.path(), cancel).isEmpty());
}

TEST_F(ShellTest, QuickOpenListsTheFolderAndRecentFilesAndOpensTheChoice)
{
    const QString root = files.filePath("app");
    for (const char* name : {"src/com/app/UserService.java", "src/com/app/UserServiceImpl.java", "web/index.jsp",
                             "build/UserService.class"}) {
        QDir().mkpath(QFileInfo(root + u'/' + name).path());
        WriteFile(root + u'/' + name, "x\n");
    }
    const QString recent = MakeFile("usage.txt");
    Open(recent);
    services.ChooseFile(root);
    Item("FileItemsOpenFolder")->trigger();

    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    TQuickOpenForm* box = form->QuickOpen();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->Field()->hasFocus());
    QTRY_COMPARE(box->ListedPaths().size(), 4);
    // The recent file on top while nothing is typed.
    EXPECT_EQ(box->ListedPaths().first(), recent);

    QTest::keyClicks(box->Field(), "usi");
    EXPECT_EQ(box->ListedPaths(), (QStringList{root + "/src/com/app/UserServiceImpl.java",
                                               root + "/src/com/app/UserService.java"}));
    EXPECT_TRUE(box->List()->item(0)->text().contains("src/com/app"));
    QTest::keyClick(box->Field(), Qt::Key_Down);
    QTest::keyClick(box->Field(), Qt::Key_Return);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(form->ActiveDocument()->FileName(), root + "/src/com/app/UserService.java");
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());

    // Escape closes the box and gives the editor the focus back.
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(box->isVisible());
    QTest::keyClick(box->Field(), Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());
    EXPECT_EQ(form->DocumentCount(), 3);
}
