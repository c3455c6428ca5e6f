// The recent-files list (menu, order, settings layout) and files dropped on
// the editor.

#include "shellfixture.h"

#include "documentnames.h"
#include "settingsstore.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

QStringList menuCaptions(QMenu* menu)
{
    QStringList captions;
    for (QAction* action : menu->actions())
        captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

} // namespace

class RecentListTest : public ShellTest {
protected:
    QMenu* RecentMenu() const { return form->Menu("FileItemsRecent"); }

    QAction* Entry(int index) const
    {
        const QList<QAction*> actions = RecentMenu()->actions();
        return index < actions.size() ? actions[index] : nullptr;
    }

    // Drops the paths on the editor as the desktop does.
    void Drop(const QStringList& paths)
    {
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        QMimeData data;
        data.setUrls(urls);
        QWidget* target = form->TarnelEditor()->viewport();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }
};

TEST_F(RecentListTest, StartsWithADisabledNone)
{
    EXPECT_EQ(menuCaptions(RecentMenu()), QStringList{"(none)"});
    EXPECT_FALSE(Entry(0)->isEnabled());
    Open(MakeFile("page.jsp"));
    EXPECT_EQ(menuCaptions(RecentMenu()), QStringList{"page.jsp"});
    EXPECT_EQ(Entry(0)->data().toString(), files.filePath("page.jsp"));
}

TEST_F(RecentListTest, TheNinthFilePushesTheOldestOut)
{
    QStringList opened;
    for (int i = 1; i <= 9; ++i) {
        opened.prepend(MakeFile(QStringLiteral("file%1.txt").arg(i)));
        Open(opened.first());
    }
    EXPECT_EQ(RecentPaths(), opened.mid(0, 8));
    QStringList captions;
    for (int i = 9; i >= 2; --i)
        captions.append(QStringLiteral("file%1.txt").arg(i));
    EXPECT_EQ(menuCaptions(RecentMenu()), captions);
}

TEST_F(RecentListTest, ReopeningMovesAnEntryToTheTopWithoutADuplicate)
{
    const QString a = MakeFile("a.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt");
    Open(a);
    Open(b);
    Open(c);
    Open(a);
    EXPECT_EQ(RecentPaths(), (QStringList{a, c, b}));
    EXPECT_EQ(form->DocumentCount(), 4);
}

TEST_F(RecentListTest, ClickingAnEntryOpensItOrReportsThatItIsGone)
{
    const QString page = MakeFile("page.jsp", "<p>\n");
    const QString gone = MakeFile("gone.txt");
    Open(page);
    Open(gone);
    ClickTab(1);
    form->FileItemsCloseClick();
    ASSERT_EQ(form->DocumentCount(), 2);

    Entry(1)->trigger();
    EXPECT_EQ(form->DocumentCount(), 3);
    EXPECT_EQ(form->ActiveDocument()->FileName(), page);
    EXPECT_EQ(SchemeOf(form->ActiveDocument()), form->TarnelParser());
    EXPECT_EQ(RecentPaths().first(), page);

    ASSERT_TRUE(QFile::remove(gone));
    Entry(1)->trigger();
    EXPECT_EQ(services.Messages(), QStringList{"File does not exist"});
    EXPECT_EQ(RecentPaths(), (QStringList{page, gone}));
    EXPECT_EQ(form->DocumentCount(), 3);
}

TEST_F(RecentListTest, IsStoredAsFileAndNameValuesAndReadBackInOrder)
{
    TMemorySettingsStore& store = services.Store();
    const QString key = QStringLiteral("Software\\TARNEL\\RecentItems\\MRUList");
    EXPECT_EQ(TRecentList::Key(), key);
    // Values of a longer list stored before.
    for (int n = 0; n < 5; ++n) {
        store.WriteString(key, QStringLiteral("File%1").arg(n), QStringLiteral("/old/%1").arg(n));
        store.WriteString(key, QStringLiteral("Name%1").arg(n), QString::number(n));
    }
    const QString a = MakeFile("a.txt"), b = MakeFile("b.txt");
    Open(a);
    Open(b);
    ASSERT_TRUE(form->close());
    EXPECT_EQ(store.ReadString(key, "File0"), b);
    EXPECT_EQ(store.ReadString(key, "Name0"), QStringLiteral("b.txt"));
    EXPECT_EQ(store.ReadString(key, "File1"), a);
    EXPECT_EQ(store.ReadString(key, "Name1"), QStringLiteral("a.txt"));
    for (int n = 2; n < 5; ++n) {
        EXPECT_FALSE(store.ValueExists(key, QStringLiteral("File%1").arg(n))) << n;
        EXPECT_FALSE(store.ValueExists(key, QStringLiteral("Name%1").arg(n))) << n;
    }

    form.reset();
    TMainForm again(programDir.path());
    QStringList loaded;
    for (const TRecentList::Entry& entry : again.RecentList()->Entries())
        loaded.append(entry.path);
    EXPECT_EQ(loaded, (QStringList{b, a}));
}

TEST_F(RecentListTest, LoadingStopsAtTheFirstIncompleteEntry)
{
    form.reset();
    TMemorySettingsStore& store = services.Store();
    const QString a = MakeFile("a.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt");
    store.WriteString(TRecentList::Key(), "File0", a);
    store.WriteString(TRecentList::Key(), "Name0", "a.txt");
    store.WriteString(TRecentList::Key(), "File1", b);
    store.WriteString(TRecentList::Key(), "File2", c);
    store.WriteString(TRecentList::Key(), "Name2", "c.txt");
    TMainForm again(programDir.path());
    ASSERT_EQ(again.RecentList()->Entries().size(), 1u);
    EXPECT_EQ(again.RecentList()->Entries().front().path, a);
}

TEST_F(RecentListTest, IgnoresNamesOfNoExistingFile)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Other item"));
    TRecentList list(&menu);
    list.Add(QString());
    list.Add(files.filePath("missing.txt"));
    list.Add(files.path());
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(menuCaptions(&menu), (QStringList{"Other item", "(none)"}));

    // Entries keep apart from other items of their submenu.
    list.Add(MakeFile("x.txt"));
    EXPECT_EQ(menuCaptions(&menu), (QStringList{"Other item", "-", "x.txt"}));
}

TEST_F(RecentListTest, DroppedFilesOpenInOrderAndFoldersAreSkipped)
{
    const QString java = MakeFile("Drop.java", "class Drop {}\n");
    const QString bat = MakeFile("go.bat", "echo\n");
    Drop({files.path(), java, bat});
    EXPECT_EQ(Captions(), (QStringList{"Untitled1", "Drop.java", "go.bat"}));
    EXPECT_EQ(SchemeOf(form->ActiveDocument()), form->BatParser());
    EXPECT_EQ(SchemeOf(form->Document(1)), form->JavaParser());
    EXPECT_EQ(RecentPaths(), (QStringList{bat, java}));
    EXPECT_TRUE(services.Messages().isEmpty());

    Drop({files.path()});
    EXPECT_EQ(form->DocumentCount(), 3);
    EXPECT_TRUE(services.Messages().isEmpty());
}

TEST_F(RecentListTest, ADroppedNameIsTakenWhole)
{
    // A long path whose first 255 characters name another existing file.
    QString folder = files.path();
    while (folder.size() < 200)
        folder += QStringLiteral("/deep-folder-name");
    ASSERT_TRUE(QDir().mkpath(folder));
    QString shortPath = folder + u'/';
    shortPath += QString(255 - shortPath.size(), u'a');
    ASSERT_EQ(shortPath.size(), 255);
    const QString longPath = shortPath + QStringLiteral("-the-real-one.txt");
    WriteFile(shortPath, "wrong file\n");
    WriteFile(longPath, "right file\n");

    Drop({longPath});
    ASSERT_EQ(form->DocumentCount(), 2);
    EXPECT_EQ(form->ActiveDocument()->FileName(), longPath);
    EXPECT_EQ(form->ActiveDocument()->Lines().Get(0), "right file");
}

TEST_F(RecentListTest, PathsAreComparedByThePlatformsRule)
{
    using DocumentNames::SamePath;
    EXPECT_TRUE(SamePath("/tmp/x/../a.jsp", "/tmp/a.jsp"));
#ifdef Q_OS_WIN
    EXPECT_TRUE(SamePath("C:\\Web\\A.JSP", "c:/web/a.jsp"));
#else
    EXPECT_FALSE(SamePath("/tmp/A.jsp", "/tmp/a.jsp"));
    // A backslash is part of a name here, not a separator.
    EXPECT_EQ(DocumentNames::WithoutFolder("/tmp/a\\b.txt"), QStringLiteral("a\\b.txt"));
    EXPECT_FALSE(DocumentNames::HasFolder("a\\b.txt"));
#endif
    EXPECT_EQ(DocumentNames::WithoutFolder("Untitled3"), QStringLiteral("Untitled3"));
    EXPECT_FALSE(DocumentNames::HasFolder("Untitled3"));
    EXPECT_EQ(DocumentNames::LowerExtension("/tmp/PAGE.JSP"), QStringLiteral(".jsp"));
    EXPECT_EQ(DocumentNames::LowerExtension("/tmp/noext"), QString());
}

TEST_F(RecentListTest, AnUntitledDocumentNeverMatchesAFileOfTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(files.path());
    const QString named = MakeFile("Untitled1");
    Open(named);
    EXPECT_EQ(FileNames(), (QStringList{"Untitled1", named}));
    // Nor does a cancelled Save As put the generated name on the list.
    ClickTab(0);
    form->FileItemsSaveAsClick();
    QDir::setCurrent(previous);
    EXPECT_EQ(RecentPaths(), QStringList{named});
}
