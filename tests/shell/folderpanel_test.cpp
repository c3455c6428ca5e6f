// The folder panel over a real folder in a temporary place: its order, its
// lazy reading, files appearing as they are made, opening, and the context
// menu's changes on disk with their questions and the tabs following them.

#include "shellfixture.h"

#include "documenttabbar.h"
#include "folderpanel.h"
#include "foldertreemodel.h"

#include <QFileSystemModel>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeView>

namespace {

class FolderPanelTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(QDir(root()).mkpath("web/sub"));
        ASSERT_TRUE(QDir(root()).mkpath("src"));
        ASSERT_TRUE(QDir(root()).mkpath(".git"));
        ASSERT_TRUE(QDir(root()).mkpath("build"));
        for (const char* name : {"zeta.jsp", "notes.bin", "README.txt", "web/index.jsp", "web/sub/deep.html",
                                 "src/Main.java", ".git/config"})
            WriteFile(Path(name), QByteArray(name) + "\n");
    }

    QString root() const { return files.filePath("app"); }
    QString Path(const QString& name) const { return root() + u'/' + name; }

    // File, Open Folder... answered with the folder.
    void OpenFolder()
    {
        services.ChooseFile(root());
        Item("FileItemsOpenFolder")->trigger();
        ASSERT_NE(form->FolderPanel(), nullptr);
    }

    TFolderPanel* Panel() const { return form->FolderPanel(); }
    QTreeView* Tree() const { return Panel()->Tree(); }
    TFolderTreeModel* Model() const { return Panel()->Model(); }

    // The names shown under a folder's entry, in the panel's order.
    QStringList Shown(const QString& folder) const
    {
        QStringList names;
        const QModelIndex parent = Model()->IndexOf(folder);
        for (int row = 0; row < Model()->rowCount(parent); ++row)
            names.append(Model()->index(row, 0, parent).data().toString());
        return names;
    }

    // The context menu's item, pointed at path.
    void Menu(const QString& path, const char* item)
    {
        Panel()->PointAt(path);
        Panel()->Action(QString::fromLatin1(item))->trigger();
    }

    // Types a name into the tree's name editor and confirms it.
    void TypeName(const QString& name)
    {
        QLineEdit* editor = nullptr;
        QTRY_VERIFY((editor = Tree()->viewport()->findChild<QLineEdit*>()) != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, name);
        QPointer<QLineEdit> typed = editor;
        QTest::keyClick(editor, Qt::Key_Return);
        // The name is taken once the editor has handled the key.
        QTRY_VERIFY(typed.isNull());
    }

    int Tab(const QString& caption) const { return Captions().indexOf(caption); }
};

} // namespace

TEST_F(FolderPanelTest, ListsFoldersThenTheEditorsKindsThenTheRestAndReadsFoldersWhenExpanded)
{
    OpenFolder();
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_EQ(form->PanelFolder(), root());
    EXPECT_TRUE(Item("ViewItemsFolderPanel")->isChecked());
    // Find in Files searches the panel's folder unless told otherwise.
    EXPECT_EQ(form->FileSearchFolder(), QDir::toNativeSeparators(root()));
    QTRY_COMPARE(Shown(root()), (QStringList{".git", "build", "src", "web", "README.txt", "zeta.jsp", "notes.bin"}));

    // Hidden entries and tool folders are greyed; the others are not.
    const QModelIndex parent = Model()->IndexOf(root());
    const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    for (int row = 0; row < Model()->rowCount(parent); ++row) {
        const QModelIndex index = Model()->index(row, 0, parent);
        const bool tucked = index.data().toString() == ".git" || index.data().toString() == "build";
        EXPECT_EQ(index.data(Qt::ForegroundRole).value<QBrush>().color() == grey, tucked) << row;
    }

    // A folder is read once it is expanded.
    const QModelIndex web = Model()->IndexOf(Path("web"));
    EXPECT_EQ(Model()->Files()->rowCount(Model()->mapToSource(web)), 0);
    Tree()->expand(web);
    QTRY_COMPARE(Shown(Path("web")), (QStringList{"sub", "index.jsp"}));
    EXPECT_EQ(Model()->Files()->rowCount(Model()->mapToSource(Model()->IndexOf(Path("web/sub")))), 0);
}

TEST_F(FolderPanelTest, AFileMadeOnDiskAppears)
{
    OpenFolder();
    QTRY_COMPARE(Shown(root()).size(), 7);
    WriteFile(Path("added.java"), "class Added {}\n");
    QTRY_VERIFY(Shown(root()).contains("added.java"));
    EXPECT_LT(Shown(root()).indexOf("added.java"), Shown(root()).indexOf("notes.bin"));
}

TEST_F(FolderPanelTest, EnterAndDoubleClickOpenAFileOrShowItsTab)
{
    OpenFolder();
    QTRY_COMPARE(Shown(root()).size(), 7);
    const QModelIndex zeta = Model()->IndexOf(Path("zeta.jsp"));
    Tree()->setFocus();
    Tree()->setCurrentIndex(zeta);
    QTest::keyClick(Tree(), Qt::Key_Return);
    EXPECT_EQ(Captions(), (QStringList{"Untitled1", "zeta.jsp"}));
    EXPECT_EQ(SchemeOf(form->ActiveDocument()), form->TarnelParser());
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());

    ClickTab(0);
    const QRect rect = Tree()->visualRect(Tree()->model()->index(zeta.row(), 0, zeta.parent()));
    // A double click: the first click, then the second as the double click.
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(form->DocumentCount(), 2);
    EXPECT_EQ(form->ActiveIndex(), 1);

    // Ctrl+PgUp / PgDn go from tab to tab where no mapping binds them.
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(form->ActiveIndex(), 0);
    // The document reached takes the focus, as a click on its tab does.
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(form->ActiveIndex(), 1);
}

TEST_F(FolderPanelTest, RenamingAnOpenFileOrItsFolderRenamesTheDocument)
{
    OpenFolder();
    form->OpenFile(Path("web/index.jsp"));
    form->OpenFile(Path("web/sub/deep.html"));
    form->ActiveDocument()->InsertText("edited ");
    QTRY_COMPARE(Shown(root()).size(), 7);

    Menu(Path("web/index.jsp"), "FolderRename");
    TypeName("home.jsp");
    EXPECT_FALSE(QFile::exists(Path("web/index.jsp")));
    EXPECT_EQ(ReadFile(Path("web/home.jsp")), "web/index.jsp\n");
    EXPECT_EQ(form->Document(Tab("home.jsp"))->FileName(), Path("web/home.jsp"));
    EXPECT_EQ(form->EditorTab()->tabToolTip(Tab("home.jsp")), Path("web/home.jsp"));

    Menu(Path("web"), "FolderRename");
    TypeName("pages");
    EXPECT_EQ(FileNames(), (QStringList{"Untitled1", Path("pages/home.jsp"), Path("pages/sub/deep.html")}));
    // The edited document keeps its changes and is saved to its new place
    // without a question about a changed file.
    EXPECT_TRUE(form->ActiveDocument()->Modified());
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(Path("pages/sub/deep.html")), "edited web/sub/deep.html\n");
    EXPECT_TRUE(services.Questions().isEmpty());

    // A name another entry has is refused with a message; nothing moves.
    Menu(Path("zeta.jsp"), "FolderRename");
    TypeName("README.txt");
    EXPECT_EQ(services.Messages(), QStringList{QStringLiteral("\"README.txt\" already exists in %1.").arg(root())});
    EXPECT_TRUE(QFile::exists(Path("zeta.jsp")));
    EXPECT_EQ(ReadFile(Path("README.txt")), "README.txt\n");
}

TEST_F(FolderPanelTest, DeleteAsksAndMovesToTheTrashKeepingTheOpenDocument)
{
    // The trash of this test is under a home of its own.
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    OpenFolder();
    form->OpenFile(Path("zeta.jsp"));

    services.AnswerNext(TServices::anNo);
    Menu(Path("zeta.jsp"), "FolderDelete");
    EXPECT_TRUE(QFile::exists(Path("zeta.jsp")));
    ASSERT_EQ(services.Questions().size(), 1);
    EXPECT_TRUE(services.Questions()[0].startsWith(QStringLiteral("Move \"%1\" to the trash?").arg(Path("zeta.jsp"))));
    EXPECT_TRUE(services.Questions()[0].contains("Open in the editor: zeta.jsp"));

    services.AnswerNext(TServices::anYes);
    Menu(Path("zeta.jsp"), "FolderDelete");
    EXPECT_FALSE(QFile::exists(Path("zeta.jsp")));
    QStringList trashed;
    QDirIterator it(home.path(), {"zeta.jsp"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        trashed.append(it.next());
    EXPECT_EQ(trashed.size(), 1);
    // The document stays, with its text, as unsaved; its tab says so.
    const int tab = Tab("zeta.jsp");
    ASSERT_GE(tab, 0);
    EXPECT_EQ(form->Document(tab)->LineText(0), "zeta.jsp");
    EXPECT_TRUE(form->Document(tab)->Modified());
    EXPECT_TRUE(form->DocumentTabs()->ShowsModifiedMark(tab));
    EXPECT_TRUE(form->EditorTab()->tabToolTip(tab).contains("no longer on disk"));

    // A folder goes only with a Yes too, and the panel's own folder not at all.
    services.AnswerNext(TServices::anCancel);
    Menu(Path("web"), "FolderDelete");
    EXPECT_TRUE(QFileInfo(Path("web")).isDir());
    Panel()->PointAt(QString());
    EXPECT_FALSE(Panel()->Action("FolderDelete")->isEnabled());
    EXPECT_FALSE(Panel()->Action("FolderRename")->isEnabled());
    qputenv("HOME", oldHome);
}

TEST_F(FolderPanelTest, NewFileAndFolderAreNamedInPlaceAndTheFileOpens)
{
    OpenFolder();
    QTRY_COMPARE(Shown(root()).size(), 7);
    Menu(Path("web/index.jsp"), "FolderNewFolder");
    TypeName("css");
    EXPECT_TRUE(QFileInfo(Path("web/css")).isDir());
    EXPECT_FALSE(QFileInfo::exists(Path("web/New Folder")));

    Menu(Path("web/css"), "FolderNewFile");
    TypeName("site.css");
    EXPECT_TRUE(QFileInfo(Path("web/css/site.css")).isFile());
    QTRY_COMPARE(Captions(), (QStringList{"Untitled1", "site.css"}));
    EXPECT_EQ(form->ActiveDocument()->FileName(), Path("web/css/site.css"));
}

TEST_F(FolderPanelTest, CopyPathAndOpenContainingFolder)
{
    OpenFolder();
    Menu(Path("web/index.jsp"), "FolderCopyPath");
    EXPECT_EQ(services.ClipboardText(), QDir::toNativeSeparators(Path("web/index.jsp")));
    Menu(Path("web/index.jsp"), "FolderOpenContaining");
    EXPECT_EQ(services.Opened(), QStringList{Path("web")});

    // Closing the panel clears the check mark; the item brings it back.
    QTest::mouseClick(Panel()->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_TRUE(form->PanelFolder().isEmpty());
    EXPECT_FALSE(Item("ViewItemsFolderPanel")->isChecked());
    Item("ViewItemsFolderPanel")->trigger();
    EXPECT_EQ(form->PanelFolder(), root());
}
