// SPDX-License-Identifier: GPL-3.0-or-later
//
// UI-thread cost of the history: a monitor tick over an unchanged clipboard,
// the contains-text test, appending entries one by one, opening the tray
// copy menu right after a capture, and scrolling the list.
//
// Run: QT_QPA_PLATFORM=offscreen build/bin/bench_history

#include "clipboard.h"
#include "clipboardmonitor.h"
#include "historystore.h"
#include "historyview.h"
#include "messagebox.h"
#include "traycopymenu.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A clipboard that always holds the same text, as after a copy long ago.
class SteadyClipboard : public Clipboard
{
public:
    QByteArray text;
    Reading poll() override { return {Status::Ready, text, 7}; }
    Reading readNow() override { return poll(); }
    bool setText(const QByteArray &utf8) override
    {
        text = utf8;
        return true;
    }
    bool clear() override { return setText({}); }
};

// Nothing is asked in these runs.
class SilentMessages : public MessageBox
{
public:
    int MsgBox(const QString &, int, const QString &) override { return Ok; }
};

QString kilobyteText(int n)
{
    QString text = QString::number(n).rightJustified(8, QLatin1Char('0'));
    text += QString(1024 - text.size(), QLatin1Char('k'));
    return text;
}

double medianMicros(std::vector<qint64> &nanos)
{
    std::sort(nanos.begin(), nanos.end());
    return nanos[nanos.size() / 2] / 1000.0;
}

struct History
{
    HistoryStore store;
    HistoryView list{store};
    QMenu menu;
    QAction *hint = menu.addAction(QStringLiteral("Copia il contenuto di:"));
    QAction *separ1 = menu.addSeparator();
    QAction *placeholder = menu.addAction(QStringLiteral("(Lista vuota)"));
    QAction *separ = menu.addSeparator();
    SteadyClipboard clipboard;
    SilentMessages messages;
    TrayCopyMenu tray{store, clipboard, messages, menu, *placeholder, *separ};
    History()
    {
        placeholder->setVisible(false);
        menu.addAction(QStringLiteral("&Svuota lista"));
        menu.addSeparator();
        menu.addAction(QStringLiteral("&Annulla"));
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    {
        History h;
        h.list.show();
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < HistoryStore::kCapacity; ++i)
            h.store.appendEntry(kilobyteText(i).toUtf8());
        QApplication::processEvents();
        std::printf("append %d entries of 1 KB one by one: %.2f s\n", HistoryStore::kCapacity,
                    timer.nsecsElapsed() / 1e9);
    }

    for (int entries : {1000, 10000, HistoryStore::kCapacity}) {
        History h;
        for (int i = 0; i < entries; ++i)
            h.store.appendEntry(kilobyteText(i).toUtf8());
        std::vector<qint64> hit, miss;
        QElapsedTimer timer;
        for (int i = 0; i < 2000; ++i) {
            const QString present = kilobyteText(i * 7 % entries);
            const QString absent = kilobyteText(entries + i);
            timer.start();
            volatile bool a = h.store.containsText(present.toUtf8());
            hit.push_back(timer.nsecsElapsed());
            timer.start();
            volatile bool b = h.store.containsText(absent.toUtf8());
            miss.push_back(timer.nsecsElapsed());
            (void)a;
            (void)b;
        }
        std::printf("contains-text, %5d entries of 1 KB: median %.2f µs (present), %.2f µs "
                    "(absent)\n",
                    entries, medianMicros(hit), medianMicros(miss));
    }

    {
        History h;
        for (int i = 0; i < HistoryStore::kCapacity; ++i)
            h.store.appendEntry(kilobyteText(i).toUtf8());
        SteadyClipboard clipboard;
        clipboard.text = kilobyteText(5).toUtf8();
        QTimer timer1, timer2;
        ClipboardMonitor monitor(h.store, clipboard, timer1, timer2);
        monitor.tick(); // the first look at the text
        std::vector<qint64> ticks;
        QElapsedTimer timer;
        for (int i = 0; i < 20000; ++i) {
            timer.start();
            monitor.tick();
            ticks.push_back(timer.nsecsElapsed());
        }
        std::printf("tick, unchanged 1 KB text, %d entries: median %.2f µs, max %.2f µs\n",
                    HistoryStore::kCapacity, medianMicros(ticks), ticks.back() / 1000.0);
    }
    for (int entries : {1000, HistoryStore::kCapacity}) {
        History h;
        for (int i = 0; i < entries - 1; ++i)
            h.store.appendEntry(kilobyteText(i).toUtf8());
        std::vector<qint64> shown;
        for (int round = 0; round < 5; ++round) {
            h.store.appendEntry(kilobyteText(entries + round).toUtf8()); // a capture
            if (round == 0)
                h.store.removeEntryAt(0);
            QElapsedTimer timer;
            timer.start();
            h.tray.popup(QPoint(0, 0));
            QApplication::processEvents();
            shown.push_back(timer.nsecsElapsed());
            h.menu.hide();
            h.store.removeEntryAt(h.store.count() - 1);
        }
        std::printf("tray copy menu, %5d entries, a capture then open: median %.2f ms, max "
                    "%.2f ms\n",
                    entries, medianMicros(shown) / 1000.0,
                    *std::max_element(shown.begin(), shown.end()) / 1e6);
    }
    {
        History h;
        for (int i = 0; i < HistoryStore::kCapacity; ++i)
            h.store.appendEntry(kilobyteText(i).toUtf8());
        h.list.resize(300, 600);
        h.list.show();
        QApplication::processEvents();
        std::vector<qint64> steps;
        QScrollBar *bar = h.list.verticalScrollBar();
        for (int i = 0; i < 200; ++i) {
            QElapsedTimer timer;
            timer.start();
            bar->setValue(bar->value() + bar->singleStep() * 3);
            h.list.viewport()->repaint();
            steps.push_back(timer.nsecsElapsed());
        }
        std::printf("list scrolling, %d entries: median %.2f ms per step, max %.2f ms\n",
                    HistoryStore::kCapacity, medianMicros(steps) / 1000.0,
                    *std::max_element(steps.begin(), steps.end()) / 1e6);
    }
    {
        History h;
        h.list.show();
        h.store.appendEntry(QByteArrayLiteral("breve"));
        QApplication::processEvents();
        for (int megabytes : {10, 50}) {
            // As a reader hands it over: UTF-8 bytes.
            const QByteArray huge(megabytes * 1000 * 1000, 'x');
            QElapsedTimer timer;
            timer.start();
            const bool contained = h.store.containsText(huge);
            const qint64 containsNs = timer.nsecsElapsed();
            timer.start();
            h.store.appendEntry(huge);
            QApplication::processEvents();
            std::printf("%d MB text: contains-text %.1f ms (%s), append and draw %.1f ms\n",
                        megabytes, containsNs / 1e6, contained ? "found" : "new",
                        timer.nsecsElapsed() / 1e6);
        }
    }
    return 0;
}
