// SPDX-License-Identifier: GPL-3.0-or-later
//
// UI-thread cost of the history: a monitor tick over an unchanged clipboard,
// the contains-text test, and appending entries one by one.
//
// Run: QT_QPA_PLATFORM=offscreen build/bin/bench_history

#include "clipboard.h"
#include "clipboardmonitor.h"
#include "historystore.h"
#include "traycontrolhost.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A clipboard that always holds the same text, as after a copy long ago.
class SteadyClipboard : public Clipboard
{
public:
    QString text;
    Reading poll() override { return {Status::Ready, text, 7}; }
    Reading readNow() override { return poll(); }
    bool setText(const QString &t) override
    {
        text = t;
        return true;
    }
    bool clear() override { return setText({}); }
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
    QListWidget list;
    QMenu menu;
    QAction *placeholder = menu.addAction(QStringLiteral("(Lista vuota)"));
    QAction *separ = menu.addSeparator();
    HistoryStore store{list, menu, *placeholder, *separ};
    History() { HistoryStore::prepareList(list); }
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
            h.store.appendEntry(kilobyteText(i));
        QApplication::processEvents();
        std::printf("append %d entries of 1 KB one by one: %.2f s\n", HistoryStore::kCapacity,
                    timer.nsecsElapsed() / 1e9);
    }

    for (int entries : {1000, 10000, HistoryStore::kCapacity}) {
        History h;
        for (int i = 0; i < entries; ++i)
            h.store.appendEntry(kilobyteText(i));
        std::vector<qint64> hit, miss;
        QElapsedTimer timer;
        for (int i = 0; i < 2000; ++i) {
            const QString present = kilobyteText(i * 7 % entries);
            const QString absent = kilobyteText(entries + i);
            timer.start();
            volatile bool a = h.store.containsText(present);
            hit.push_back(timer.nsecsElapsed());
            timer.start();
            volatile bool b = h.store.containsText(absent);
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
            h.store.appendEntry(kilobyteText(i));
        SteadyClipboard clipboard;
        clipboard.text = kilobyteText(5);
        QWidget host;
        TrayControlHost tray(&host, {});
        QTimer timer1, timer2;
        TrayPictures pictures{Vandril::makePicture(Vandril::Picture::Icon, QIcon()),
                              Vandril::makePicture(Vandril::Picture::Icon, QIcon()),
                              Vandril::makePicture(Vandril::Picture::Icon, QIcon())};
        ClipboardMonitor monitor(h.store, clipboard, tray, h.list, timer1, timer2, pictures);
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
    {
        History h;
        h.list.show();
        h.store.appendEntry(QStringLiteral("breve"));
        QApplication::processEvents();
        for (int megabytes : {10, 50}) {
            const QString huge(megabytes * 1000 * 1000, QLatin1Char('x'));
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
