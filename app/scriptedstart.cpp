// The scripted user works through the program's own doors: key presses sent
// to the editor, menu items triggered, tool bars dragged by their handles
// with mouse events, and modal dialogs met at the one place every modal
// dialog is shown (ModalDialogs), where the script fills them in instead of
// a modal loop. Nothing it does reaches around the window.

#include "scriptedstart.h"

#include "dcmemo.h"
#include "mainform.h"
#include "memosource.h"
#include "modaldialogs.h"
#include "recentlist.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSpinBox>
#include <QStyle>
#include <QSplitter>
#include <QStyleOptionToolBar>
#include <QTabBar>
#include <QToolBar>

#include <cstdio>
#include <deque>

namespace {

void say(const QString& line)
{
    std::printf("%s\n", qUtf8Printable(line));
    std::fflush(stdout);
}

QString areaName(Qt::ToolBarArea area)
{
    switch (area) {
    case Qt::LeftToolBarArea: return QStringLiteral("Left");
    case Qt::RightToolBarArea: return QStringLiteral("Right");
    case Qt::TopToolBarArea: return QStringLiteral("Top");
    case Qt::BottomToolBarArea: return QStringLiteral("Bottom");
    default: return QStringLiteral("Floating");
    }
}

// The widget of a dialog an item names: a child of that object name, or a
// button showing that text.
QWidget* findItem(QDialog& dialog, const QString& name)
{
    if (auto* child = dialog.findChild<QWidget*>(name))
        return child;
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->text().remove(u'&') == name)
            return button;
    }
    return nullptr;
}

QString fieldValue(QWidget* field)
{
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        return edit->text();
    if (auto* spin = qobject_cast<QSpinBox*>(field))
        return QString::number(spin->value());
    if (auto* combo = qobject_cast<QComboBox*>(field))
        return combo->currentText();
    if (auto* button = qobject_cast<QAbstractButton*>(field))
        return button->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
    return QStringLiteral("<no field>");
}

bool setField(QWidget* field, const QString& value)
{
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->setText(value);
        return true;
    }
    if (auto* spin = qobject_cast<QSpinBox*>(field)) {
        spin->setValue(value.toInt());
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
        combo->setCurrentText(value);
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(field); button && button->isCheckable()) {
        button->setChecked(value == QLatin1String("True"));
        return true;
    }
    return false;
}

void fillDialog(QDialog& dialog, const QString& block)
{
    for (const QString& item : block.split(u';', Qt::SkipEmptyParts)) {
        if (!dialog.isVisible())
            break;
        if (item == QLatin1String("accept")) {
            dialog.accept();
            continue;
        }
        if (item == QLatin1String("reject")) {
            dialog.reject();
            continue;
        }
        const bool query = item.startsWith(u'?');
        const qsizetype equals = item.indexOf(u'=');
        const QString name = query ? item.mid(1) : item.left(equals);
        QWidget* field = findItem(dialog, name);
        if (!field) {
            say(QStringLiteral("script: no %1 in %2").arg(name, dialog.windowTitle()));
            continue;
        }
        if (query)
            say(QStringLiteral("%1: %2").arg(name, fieldValue(field)));
        else if (equals >= 0 && !setField(field, item.mid(equals + 1)))
            say(QStringLiteral("script: %1 takes no value").arg(name));
        else if (auto* button = qobject_cast<QAbstractButton*>(field); equals < 0 && button)
            button->click();
        QApplication::processEvents();
    }
}

void sendKey(TMainForm& form, int key, const QString& text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(form.TarnelEditor(), &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(form.TarnelEditor(), &up);
}

// Presses the bar's handle and moves the mouse in steps by offset, as a
// user dragging it does.
void dragBar(QToolBar& bar, QPoint offset)
{
    QStyleOptionToolBar option;
    option.initFrom(&bar);
    option.features = QStyleOptionToolBar::Movable;
    if (bar.orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    const QPoint start = bar.mapToGlobal(bar.style()->subElementRect(QStyle::SE_ToolBarHandle, &option, &bar).center());
    auto send = [&bar](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(bar.mapFromGlobal(global)), QPointF(global), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    constexpr int kSteps = 12;
    for (int i = 1; i <= kSteps; ++i)
        send(QEvent::MouseMove, start + offset * i / kSteps, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + offset, Qt::NoButton);
    QApplication::processEvents();
}

// Presses the left button at from and moves in steps to to, as a user
// dragging does.
void dragWithin(QWidget& widget, QPoint from, QPoint to)
{
    // The screen places are taken from where the widget was at the press: a
    // splitter's handle moves with the drag.
    const QPoint origin = widget.mapToGlobal(QPoint(0, 0));
    auto send = [&widget, origin](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(origin + at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    constexpr int kSteps = 12;
    for (int i = 1; i <= kSteps; ++i)
        send(QEvent::MouseMove, from + (to - from) * i / kSteps, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    QApplication::processEvents();
}

// "{Bar>dx,dy}" drags a tool bar by its handle, "{Split>dx,dy}" the first
// handle of the splitter of that name, "{EditorTab>from,to}" the tab at
// from onto the place of the tab at to. False when command is no drag.
bool drag(TMainForm& form, const QString& command)
{
    const qsizetype arrow = command.indexOf(u'>');
    if (arrow < 0)
        return false;
    const QString name = command.left(arrow);
    const QStringList offset = command.mid(arrow + 1).split(u',');
    QTabBar* tabs = form.EditorTab();
    if (offset.size() == 2 && name == tabs->objectName()) {
        const QRect from = tabs->tabRect(offset[0].toInt());
        const QRect to = tabs->tabRect(offset[1].toInt());
        if (from.isValid() && to.isValid()) {
            dragWithin(*tabs, from.center(), to.center());
            return true;
        }
    }
    auto* split = form.findChild<QSplitter*>(name);
    if (split && split->count() > 1 && offset.size() == 2) {
        QSplitterHandle* handle = split->handle(1);
        const QPoint middle = handle->rect().center();
        dragWithin(*handle, middle, middle + QPoint(offset[0].toInt(), offset[1].toInt()));
        return true;
    }
    QToolBar* bar = form.ToolBar(name);
    if (!bar || offset.size() != 2) {
        say(QStringLiteral("script: cannot drag %1").arg(command));
        return true;
    }
    dragBar(*bar, QPoint(offset[0].toInt(), offset[1].toInt()));
    return true;
}

} // namespace

namespace ScriptedStart {

void Report(const TMainForm& form)
{
    say(QStringLiteral("title: ") + form.windowTitle());
    for (int i = 0; i < form.DocumentCount(); ++i)
        say(QStringLiteral("document: ") + form.Document(i)->FileName());
    for (const TRecentList::Entry& entry : form.RecentList()->Entries())
        say(QStringLiteral("recent: ") + entry.path);
    if (const auto* split = form.findChild<QSplitter*>(QStringLiteral("FolderSplit")); !form.PanelFolder().isEmpty())
        say(QStringLiteral("panel: %1 %2").arg(form.PanelFolder()).arg(split ? split->sizes().value(0) : 0));
    for (const QToolBar* bar : form.findChildren<QToolBar*>()) {
        const QPoint at = bar->isWindow() ? bar->pos() : bar->mapTo(&form, QPoint(0, 0));
        say(QStringLiteral("bar: %1 %2 %3 %4,%5")
                .arg(bar->objectName(), bar->isHidden() ? QStringLiteral("hidden") : QStringLiteral("visible"),
                     bar->isWindow() ? QStringLiteral("Floating") : areaName(form.toolBarArea(bar)))
                .arg(at.x())
                .arg(at.y()));
    }
}

void Run(TMainForm& form, const QString& script)
{
    // The dialog blocks waiting for the dialogs of the command being run.
    std::deque<QString> blocks;
    const ModalDialogs::THook previous = ModalDialogs::SetHook([&blocks](QDialog& dialog) {
        const auto* box = qobject_cast<QMessageBox*>(&dialog);
        say(QStringLiteral("dialog: ") + dialog.windowTitle() + (box ? QStringLiteral(": ") + box->text() : QString()));
        if (blocks.empty())
            return;
        const QString block = blocks.front();
        blocks.pop_front();
        fillDialog(dialog, block);
    });

    // The start's own layout requests first: the window as the user would
    // first see it.
    QApplication::processEvents();
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        const qsizetype close = c == u'{' ? script.indexOf(u'}', i) : -1;
        if (close < 0) {
            sendKey(form, c.isLetter() ? c.toUpper().unicode() : c.unicode(), QString(c));
            continue;
        }
        const QString command = script.mid(i + 1, close - i - 1);
        i = close;
        // The dialogs the command opens are filled in by the blocks after it.
        blocks.clear();
        while (i + 1 < script.size() && script.at(i + 1) == u'<') {
            const qsizetype end = script.indexOf(u'>', i + 1);
            if (end < 0)
                break;
            blocks.push_back(script.mid(i + 2, end - i - 2));
            i = end;
        }
        if (command == QLatin1String("Return"))
            sendKey(form, Qt::Key_Return, QStringLiteral("\r"));
        else if (command == QLatin1String("Report"))
            Report(form);
        else if (QAction* action = form.Action(command))
            action->trigger();
        else if (!drag(form, command))
            say(QStringLiteral("script: no item %1").arg(command));
        QApplication::processEvents();
        if (!blocks.empty())
            say(QStringLiteral("script: %1 left %2 dialog(s) unopened").arg(command).arg(blocks.size()));
    }
    ModalDialogs::SetHook(previous);
    say(QStringLiteral("keys typed"));
}

} // namespace ScriptedStart
