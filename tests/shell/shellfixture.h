#pragma once

#include "common/fakeservices.h"
#include "dcmemo.h"
#include "journal.h"
#include "mainform.h"
#include "memosource.h"
#include "modaldialogs.h"
#include "recentlist.h"
#include "sourcestrings.h"
#include "syntaxparser.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <ostream>

// Positions in failure messages as (line, column).
inline void PrintTo(const TTextPos& pos, std::ostream* out)
{
    *out << '(' << pos.line << ", " << pos.column << ')';
}

// A program folder of its own (Dat with a tag list, Templates, Commando,
// Command), a folder for the documents, the scripted services and a real
// main window, shown and active.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(programDir.isValid() && files.isValid() && dataDir.isValid());
        // The autosave journal of each test stays in the test's own folder.
        if (journalRoot.isEmpty())
            journalRoot = dataDir.filePath(QStringLiteral("journal"));
        TJournal::SetDefaultRoot(journalRoot);
        ModalDialogs::SetHook([this](QDialog& dialog) { RunScripted(dialog); });
        for (const char* folder : {"Dat", "Templates", "Commando", "Command"})
            ASSERT_TRUE(QDir(programDir.path()).mkpath(QString::fromLatin1(folder)));
        if (writeTags)
            WriteFile(programDir.filePath(QStringLiteral("Dat/Tags.txt")), tagList);
        form = std::make_unique<TMainForm>(programDir.path());
        form->resize(900, 600);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void TearDown() override
    {
        // Nothing may ask about unsaved work once a test is over.
        if (form) {
            for (int i = 0; i < form->DocumentCount(); ++i)
                form->Document(i)->SetModified(false);
        }
        form.reset();
        TJournal::SetDefaultRoot(QString());
        ModalDialogs::SetHook({});
        EXPECT_TRUE(dialogScripts.empty()) << "a scripted dialog was never opened";
    }

    // The window's modal dialogs, scripted: each one is shown without a
    // modal loop and made the active window (the offscreen platform does
    // not activate a second window by itself, and focus changes need it),
    // then the next script fills it in with key presses and clicks; one
    // still open after its script is cancelled, and so is one no script
    // waits for. The window that was active is active again afterwards.
    void RunScripted(QDialog& dialog)
    {
        dialogTitles.append(dialog.windowTitle());
        QWidget* active = QApplication::activeWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog)) << dialog.windowTitle().toStdString();
        QApplication::setActiveWindow(&dialog);
        if (!dialogScripts.empty()) {
            const std::function<void(QDialog&)> script = dialogScripts.front();
            dialogScripts.pop_front();
            script(dialog);
        }
        if (dialog.isVisible())
            dialog.reject();
        QApplication::setActiveWindow(active);
    }

    // The next dialog the window opens runs script.
    void ScriptDialog(std::function<void(QDialog&)> script) { dialogScripts.push_back(std::move(script)); }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    // A file in the documents folder.
    QString MakeFile(const QString& name, const QByteArray& bytes = "text\n")
    {
        const QString path = files.filePath(name);
        WriteFile(path, bytes);
        return path;
    }

    // File, Open through its shortcut, the dialog answering with path.
    void Open(const QString& path)
    {
        services.ChooseFile(path);
        QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    }

    QAction* Item(const char* name) const
    {
        QAction* action = form->Action(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }

    // Clicks a button of a bar as the user would.
    void ClickButton(const char* name)
    {
        QAction* action = Item(name);
        for (QToolBar* bar : form->findChildren<QToolBar*>()) {
            if (QWidget* button = bar->widgetForAction(action)) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "no button " << name;
    }

    void ClickTab(int index)
    {
        QTabBar* tabs = form->EditorTab();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    QStringList Captions() const
    {
        QStringList captions;
        for (int i = 0; i < form->EditorTab()->count(); ++i)
            captions.append(form->EditorTab()->tabText(i));
        return captions;
    }

    QStringList FileNames() const
    {
        QStringList names;
        for (int i = 0; i < form->DocumentCount(); ++i)
            names.append(form->Document(i)->FileName());
        return names;
    }

    // The built-in parser a document uses (null: plain text).
    static TSyntaxParser* SchemeOf(const TMemoSource* document)
    {
        return qobject_cast<TSyntaxParser*>(document->SyntaxParser());
    }

    QStringList RecentPaths() const
    {
        QStringList paths;
        for (const TRecentList::Entry& entry : form->RecentList()->Entries())
            paths.append(entry.path);
        return paths;
    }

    // The services come first: the window uses them from its construction on.
    TFakeServices services;
    QTemporaryDir programDir;
    QTemporaryDir files;
    // The user's data folder and the journal in it (a test may name
    // another journal folder before SetUp).
    QTemporaryDir dataDir;
    QString journalRoot;
    bool writeTags = true;
    QByteArray tagList = "<b>|Bold\r\n<table>|Table\r\n<br>\r\n";
    std::unique_ptr<TMainForm> form;
    std::deque<std::function<void(QDialog&)>> dialogScripts;
    QStringList dialogTitles;
};
