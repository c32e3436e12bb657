// SPDX-License-Identifier: GPL-3.0-or-later
#include "listinteraction.h"

#include "entrycommands.h"
#include "historystore.h"
#include "historyview.h"
#include "menutree.h"
#include "selectedrow.h"
#include "selectionbuttons.h"
#include "utf8text.h"

#include <QAction>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>

namespace {

constexpr int kCtrlC = 3;
constexpr int kCtrlD = 4;
constexpr int kLineFeed = 10;
constexpr int kEnter = 13;
constexpr int kCtrlV = 22;

// Shown whole up to this length; longer contents are cut at kTipLength.
constexpr qsizetype kShortContent = 30;
constexpr qsizetype kTipLength = 80;

} // namespace

ListInteraction::ListInteraction(const Parts &parts, QObject *parent)
    : QObject(parent), m_list(parts.List1), m_store(parts.store), m_menus(parts.menus),
      m_buttons(parts.buttons), m_commands(parts.commands)
{
    m_list.installEventFilter(this);
    m_list.viewport()->installEventFilter(this);
    m_list.viewport()->setMouseTracking(true);
    // The right button has its own popup; no context menu reaches the window.
    m_list.setContextMenuPolicy(Qt::PreventContextMenu);
    // The list's own Ctrl+V views the clipboard only with a line selected;
    // the menu item, always enabled, keeps its shortcut inside its menu.
    m_menus.visscr->setShortcutContext(Qt::WidgetShortcut);
    connect(m_list.selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (selectedRow(m_list) != -1)
            Q_EMIT Click();
    });
    // Mod and Elim follow the history: on after a capture only with a line
    // the user sees selected, off once it is empty.
    connect(&m_store, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_list.selectionModel()->hasSelection())
            m_buttons.setSelectionButtonsEnabled(true);
    });
    connect(&m_store, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (m_store.count() == 0)
            m_buttons.setSelectionButtonsEnabled(false);
    });
    // The bold default item belongs to the list's popup only.
    connect(m_menus.menuclicd, &QMenu::aboutToHide, this,
            [this] { m_menus.menuclicd->setDefaultAction(nullptr); });
}

QString ListInteraction::noSelectionTip()
{
    return QStringLiteral(
        "Doppio clic copia la il contenuto della selezione negli Scrivel di sistema");
}

void ListInteraction::selectionChanged()
{
    if (selectedRow(m_list) != -1)
        m_buttons.setSelectionButtonsEnabled(true);
}

void ListInteraction::doubleClick()
{
    const int index = selectedRow(m_list);
    if (index < 0 || index >= m_store.count())
        return;
    m_buttons.setSelectionButtonsEnabled(true);
    m_list.setToolTip(EntryCommands::firstCharacters(m_store.contentBytes(index), kShortContent) +
                      QLatin1String("..."));
    m_commands.copyBack(true);
}

void ListInteraction::keyPress(int code)
{
    if (selectedRow(m_list) == -1)
        return;
    switch (code) {
    case kCtrlC:
        m_commands.copyBack();
        return;
    case kEnter:
        m_commands.editSelected();
        return;
    case kCtrlD:
        m_commands.deleteSelected();
        return;
    case kCtrlV:
        m_commands.viewClipboard();
        return;
    default:
        break;
    }
    if (code > 0 && code <= 0xFFFF && QChar(char16_t(code)).toUpper() == u'M')
        m_menus.cd->popup(QCursor::pos());
}

QString ListInteraction::hoverTip() const
{
    const int index = selectedRow(m_list);
    if (index < 0 || index >= m_store.count())
        return noSelectionTip();
    const QByteArray &content = m_store.contentBytes(index);
    const QString start = Utf8Text::left(content, kShortContent + 1);
    const QString head = QStringLiteral("Contenuto selezione: ");
    if (start.size() > kShortContent)
        return head + EntryCommands::firstCharacters(content, kTipLength) + QLatin1String("...");
    return head + start;
}

void ListInteraction::mouseMove()
{
    const QString tip = hoverTip();
    if (m_list.toolTip() != tip)
        m_list.setToolTip(tip);
}

void ListInteraction::mouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button != Qt::RightButton)
        return;
    const bool selected = selectedRow(m_list) != -1;
    m_menus.copianegliscrivel->setEnabled(selected);
    m_menus.visualizza->setEnabled(selected);
    m_menus.elimina->setEnabled(selected);
    m_menus.menuclicd->setDefaultAction(m_menus.copianegliscrivel);
    m_menus.menuclicd->popup(globalPos);
}

void ListInteraction::updateMenuState()
{
    const bool selected = selectedRow(m_list) != -1;
    m_menus.copianegliscrivel->setEnabled(selected);
    m_menus.visualizza->setEnabled(selected);
    m_menus.elimina->setEnabled(selected);

    int checked = 0;
    for (int i = 0; i < m_store.count() && checked < 2; ++i) {
        if (m_store.isChecked(i))
            ++checked;
    }
    // With nothing checked mnuFondi keeps its state: its parent hides it.
    m_menus.mnuElementiSpuntati->menuAction()->setEnabled(checked >= 1);
    if (checked >= 1)
        m_menus.mnuFondi->setEnabled(checked >= 2);
}

int ListInteraction::characterCode(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return ctrl ? kLineFeed : kEnter;
    if (ctrl && !(mods & Qt::AltModifier) && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return event.key() - Qt::Key_A + 1;
    if (ctrl || (mods & Qt::AltModifier) || event.text().isEmpty())
        return 0;
    return event.text().at(0).unicode();
}

bool ListInteraction::filterKey(QKeyEvent &event)
{
    const int code = characterCode(event);
    if (code == 0)
        return false;
    Q_EMIT KeyPress(code);
    // The list's own answers to these keys (copying the line's text,
    // activating the line) would run a second command for one press.
    return code == kCtrlC || code == kCtrlD || code == kEnter || code == kCtrlV;
}

bool ListInteraction::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_list && event->type() == QEvent::KeyPress)
        return filterKey(*static_cast<QKeyEvent *>(event));
    if (watched != m_list.viewport())
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseMove:
        Q_EMIT MouseMove();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
            Q_EMIT DblClick();
            break;
        }
        Q_EMIT MouseDown(mouse->button(), mouse->globalPosition().toPoint());
        // The right button leaves the selection where it was.
        if (mouse->button() == Qt::RightButton)
            return true;
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
