// SPDX-License-Identifier: GPL-3.0-or-later
#include "traycopymenu.h"

#include "clipboardwriter.h"
#include "historystore.h"
#include "menuscrollarrow.h"
#include "messagebox.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QWheelEvent>
#include <algorithm>

namespace {

// Before any screen is known, as many items as a small screen holds.
constexpr int kDefaultRows = 20;
// The pointer rests this long on an edge item before the window moves, then
// moves one entry per step.
constexpr int kEdgeDelayMs = 400;
constexpr int kEdgeStepMs = 60;
constexpr int kWheelRows = 3;

} // namespace

TrayCopyMenu::TrayCopyMenu(HistoryStore &store, Clipboard &clipboard, MessageBox &messages,
                           QMenu &mnucdLista, QAction &mnulista0, QAction &insertBefore)
    : m_store(store), m_clipboard(clipboard), m_messages(messages), m_menu(mnucdLista),
      m_placeholder(mnulista0), m_insertBefore(insertBefore), m_rows(kDefaultRows),
      m_up(new MenuScrollArrow(MenuScrollArrow::Up, &mnucdLista)),
      m_down(new MenuScrollArrow(MenuScrollArrow::Down, &mnucdLista))
{
    for (MenuScrollArrow *arrow : {m_up, m_down}) {
        arrow->hide();
        connect(arrow, &MenuScrollArrow::pointed, this, [this, arrow](bool onArrow) {
            if (onArrow)
                startEdgeScroll(arrow->direction());
            else
                m_edgeScroll.stop();
        });
        connect(arrow, &MenuScrollArrow::clicked, this,
                [this, arrow] { scrollBy(arrow->direction()); });
    }
    // Empty, the menu shows its two separators in a row around the missing
    // entries, as it is meant to look.
    m_menu.setSeparatorsCollapsible(false);
    m_menu.installEventFilter(this);
    connect(&m_menu, &QMenu::hovered, this, &TrayCopyMenu::hovered);
    connect(&m_menu, &QMenu::aboutToHide, &m_edgeScroll, &QTimer::stop);
    connect(&m_edgeScroll, &QTimer::timeout, this, [this] {
        m_edgeScroll.setInterval(kEdgeStepMs);
        scrollBy(m_edgeDirection);
        if (!canScroll(m_edgeDirection))
            m_edgeScroll.stop();
    });
    // Entries appended past a full window and check marks change no item.
    connect(&m_store, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first) {
                if (first < m_top + m_rows)
                    sync();
            });
    connect(&m_store, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                if (roles != QList<int>{Qt::CheckStateRole})
                    sync();
            });
    connect(&m_store, &QAbstractItemModel::rowsRemoved, this, &TrayCopyMenu::sync);
    connect(&m_store, &QAbstractItemModel::modelReset, this, &TrayCopyMenu::sync);
    sync();
}

void TrayCopyMenu::copyEntry(int index)
{
    if (index < 1 || index > m_store.count())
        return;
    // Emptying the clipboard first leaves no other format behind.
    if (!ClipboardWriter::copy(m_clipboard, m_store.contentBytes(index - 1), true))
        m_messages.MsgBox(ClipboardWriter::unavailableMessage(), MessageBox::Exclamation);
}

void TrayCopyMenu::showHint()
{
    if (m_store.count() > 0)
        m_messages.MsgBox(QStringLiteral("Selezionare una voce di quelle sottostanti per copiare "
                                         "il relativo contenuto negli Scrivel di sistema."),
                          MessageBox::Information);
    else
        m_messages.MsgBox(
            QStringLiteral("Copiare del testo negli Scrivel di sistema e poi visualizzare di "
                           "nuovo questo menu: conterrà tutto ciò che di volta in volta viene "
                           "copiato o tagliato dalle applicazioni usate."),
            MessageBox::Information);
}

void TrayCopyMenu::popup(const QPoint &globalPos)
{
    m_top = 0;
    setRows(rowsThatFit(globalPos));
    QPoint corner = globalPos;
    if (const QScreen *screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        const QSize size = m_menu.sizeHint();
        corner.setX(std::max(area.left(), std::min(corner.x(), area.right() + 1 - size.width())));
        corner.setY(std::max(area.top(), std::min(corner.y(), area.bottom() + 1 - size.height())));
    }
    m_menu.popup(corner);
}

void TrayCopyMenu::popupCentred()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    // The items it opens with, for its size; popup() keeps it on the screen.
    m_top = 0;
    setRows(rowsThatFit(area.center()));
    const QSize size = m_menu.sizeHint();
    popup(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

QAction *TrayCopyMenu::mnulista(int element) const
{
    if (element == 0)
        return &m_placeholder;
    const int slot = element - 1 - m_top;
    return slot >= 0 && slot < int(m_items.size()) ? m_items[size_t(slot)] : nullptr;
}

void TrayCopyMenu::setRows(int rows)
{
    m_rows = std::max(1, rows);
    sync();
}

bool TrayCopyMenu::canScroll(int delta) const
{
    return delta < 0 ? m_top > 0 : m_top + int(m_items.size()) < m_store.count();
}

void TrayCopyMenu::scrollBy(int delta)
{
    const int top = std::clamp(m_top + delta, 0, std::max(0, m_store.count() - m_rows));
    if (top == m_top)
        return;
    m_top = top;
    sync();
}

void TrayCopyMenu::sync()
{
    const int count = m_store.count();
    m_top = std::clamp(m_top, 0, std::max(0, count - m_rows));
    const size_t wanted = size_t(std::min(m_rows, count - m_top));
    while (m_items.size() > wanted) {
        delete m_items.back();
        m_items.pop_back();
    }
    while (m_items.size() < wanted) {
        auto *item = new QAction(&m_menu);
        m_menu.insertAction(&m_insertBefore, item);
        m_items.push_back(item);
    }
    for (size_t slot = 0; slot < m_items.size(); ++slot) {
        const int index = m_top + int(slot);
        // Only a caption that changes makes the menu lay its items out again.
        m_items[slot]->setText(m_store.caption(index));
        m_items[slot]->setData(index + 1);
    }
    updateArrows();
}

void TrayCopyMenu::updateArrows()
{
    const bool scrolls = m_store.count() > m_rows;
    m_up->setActive(canScroll(-1));
    m_down->setActive(canScroll(1));
    if (scrolls == m_up->isVisibleTo(&m_menu))
        return;
    const int height = scrolls ? m_up->sizeHint().height() : 0;
    m_menu.setContentsMargins(0, height, 0, height);
    m_up->setVisible(scrolls);
    m_down->setVisible(scrolls);
    if (m_menu.isVisible())
        m_menu.adjustSize();
    placeArrows();
}

void TrayCopyMenu::placeArrows()
{
    const int frame = m_menu.style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, &m_menu);
    const int height = m_menu.contentsMargins().top();
    const int width = m_menu.width() - 2 * frame;
    m_up->setGeometry(frame, frame, width, height);
    m_down->setGeometry(frame, m_menu.height() - frame - height, width, height);
}

int TrayCopyMenu::rowsThatFit(const QPoint &globalPos) const
{
    const QScreen *screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return kDefaultRows;
    QStyleOptionMenuItem option;
    option.initFrom(&m_menu);
    option.menuItemType = QStyleOptionMenuItem::Normal;
    option.text = QStringLiteral("X");
    const int itemHeight =
        std::max(1, m_menu.style()
                        ->sizeFromContents(QStyle::CT_MenuItem, &option,
                                           QSize(0, m_menu.fontMetrics().height()), &m_menu)
                        .height());
    // What the fixed items and the frame take: the menu's height without the
    // entries and the arrows.
    const QMargins arrows = m_menu.contentsMargins();
    const int fixed = m_menu.sizeHint().height() - int(m_items.size()) * itemHeight - arrows.top() -
                      arrows.bottom();
    const int height = screen->availableGeometry().height() - fixed;
    const int rows = height / itemHeight - 1;
    if (m_store.count() <= rows)
        return std::max(1, rows);
    // Too many: room for the arrows as well.
    return std::max(1, (height - 2 * m_up->sizeHint().height()) / itemHeight - 1);
}

void TrayCopyMenu::hovered(QAction *action)
{
    const int direction = !m_items.empty() && action == m_items.front()  ? -1
                          : !m_items.empty() && action == m_items.back() ? 1
                                                                         : 0;
    if (direction == 0)
        m_edgeScroll.stop();
    else
        startEdgeScroll(direction);
}

void TrayCopyMenu::startEdgeScroll(int direction)
{
    if (!canScroll(direction)) {
        m_edgeScroll.stop();
        return;
    }
    if (m_edgeScroll.isActive() && m_edgeDirection == direction)
        return;
    m_edgeDirection = direction;
    m_edgeScroll.start(kEdgeDelayMs);
}

bool TrayCopyMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_menu && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        placeArrows();
    if (watched != &m_menu || m_items.empty())
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Wheel) {
        const int steps = static_cast<QWheelEvent *>(event)->angleDelta().y() / 120;
        scrollBy(-steps * kWheelRows);
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    // Past the first or last item the window moves instead of the highlight.
    const int key = static_cast<QKeyEvent *>(event)->key();
    QAction *active = m_menu.activeAction();
    if (key == Qt::Key_Down && active == m_items.back() && canScroll(1)) {
        scrollBy(1);
        return true;
    }
    if (key == Qt::Key_Up && active == m_items.front() && canScroll(-1)) {
        scrollBy(-1);
        return true;
    }
    if ((key == Qt::Key_PageDown || key == Qt::Key_PageUp) && m_store.count() > m_rows) {
        scrollBy(key == Qt::Key_PageDown ? m_rows : -m_rows);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
