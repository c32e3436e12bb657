// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the X11 clipboard reader, measured on a private Xvfb:
// reads per copy and per unchanged tick, the UI-thread cost of a poll, large
// texts (time to Ready, UI stalls, memory) and a hung owner (UI stalls).
//
//   bench_x11clipboard [--hang-seconds N]

#include "clipboardownerprocess.h"
#include "stallmeter.h"
#include "x11clipboard.h"
#include "xvfbserver.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

struct Memory
{
    qint64 rssKb = 0;
    qint64 pssKb = 0;
    qint64 peakKb = 0;
};

qint64 fieldKb(const QByteArray &text, const QByteArray &name)
{
    const qsizetype at = text.indexOf('\n' + name);
    if (at < 0)
        return 0;
    const qsizetype end = text.indexOf('\n', at + 1);
    QByteArray value = text.mid(at + name.size() + 1, end - at - name.size() - 1);
    return value.replace("kB", "").trimmed().toLongLong();
}

Memory memory()
{
    QFile rollup(QStringLiteral("/proc/self/smaps_rollup"));
    QFile status(QStringLiteral("/proc/self/status"));
    Memory m;
    if (rollup.open(QIODevice::ReadOnly)) {
        const QByteArray text = '\n' + rollup.readAll();
        m.rssKb = fieldKb(text, "Rss:");
        m.pssKb = fieldKb(text, "Pss:");
    }
    if (status.open(QIODevice::ReadOnly))
        m.peakKb = fieldKb('\n' + status.readAll(), "VmHWM:");
    return m;
}

// Starts the peak resident size (VmHWM) afresh.
void resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

// CPU time this thread has used, in milliseconds.
double threadCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

void waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Polls like the monitor's timer (every `tickMs`) until a read has ended.
Clipboard::Reading settle(Clipboard &clipboard, int tickMs = 20)
{
    Clipboard::Reading reading = clipboard.poll();
    while (reading.status == Clipboard::Status::Pending) {
        waitMs(tickMs);
        reading = clipboard.poll();
    }
    return reading;
}

QByteArray utf8Text(qsizetype bytes)
{
    QByteArray text;
    text.reserve(bytes + 64);
    for (int line = 0; text.size() < bytes; ++line)
        text += "Riga " + QByteArray::number(line) + ": città, perché, caffè ☕\n";
    text.truncate(bytes - 4);
    return text + "fine";
}

void readsPerCopy()
{
    X11Clipboard clipboard;
    ClipboardOwnerProcess owner;
    const int copies = 20;
    const int unchangedTicks = 200;
    for (int copy = 0; copy < copies; ++copy) {
        owner.startXclip("copia numero " + QByteArray::number(copy));
        settle(clipboard);
    }
    const int readsAfterCopies = clipboard.readsStarted();
    for (int tick = 0; tick < unchangedTicks; ++tick) {
        clipboard.poll();
        waitMs(5);
    }
    std::printf("reads per copy: %.2f (%d reads, %d copies)\n", double(readsAfterCopies) / copies,
                readsAfterCopies, copies);
    std::printf("reads per unchanged tick: %.3f (%d ticks)\n",
                double(clipboard.readsStarted() - readsAfterCopies) / unchangedTicks,
                unchangedTicks);
}

void pollCost()
{
    X11Clipboard clipboard;
    ClipboardOwnerProcess owner;
    owner.startXclip(utf8Text(1024));
    settle(clipboard);
    std::vector<qint64> ns;
    const int polls = 100000;
    ns.reserve(polls);
    QElapsedTimer clock;
    for (int i = 0; i < polls; ++i) {
        clock.start();
        const Clipboard::Reading reading = clipboard.poll();
        ns.push_back(clock.nsecsElapsed());
        if (reading.text.isEmpty())
            std::printf("unexpected reading\n");
    }
    std::sort(ns.begin(), ns.end());
    std::printf("poll(), unchanged 1 KB text: median %.3f us, 99th percentile %.3f us, "
                "max %.1f us (%d polls, %d reads)\n",
                ns[ns.size() / 2] / 1000.0, ns[ns.size() * 99 / 100] / 1000.0, ns.back() / 1000.0,
                polls, clipboard.readsStarted());
}

void largeText(qsizetype megabytes)
{
    X11Clipboard clipboard;
    {
        // Settle the clipboard on something small first.
        ClipboardOwnerProcess small;
        small.startXclip("piccolo");
        settle(clipboard);
    }
    settle(clipboard);
    const int readsBefore = clipboard.readsStarted();

    ClipboardOwnerProcess owner;
    QElapsedTimer sinceChange;
    qint64 readyMs = -1;
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &clipboard,
                     [&] { sinceChange.start(); });
    QObject::connect(&clipboard, &X11Clipboard::readFinished, &clipboard, [&] {
        if (sinceChange.isValid())
            readyMs = sinceChange.elapsed();
    });

    {
        const QByteArray text = utf8Text(megabytes * 1024 * 1024);
        if (!owner.startXclip(text)) {
            std::printf("cannot start xclip: %s\n", qPrintable(owner.error()));
            return;
        }
    }
    const Memory before = memory();
    resetPeak();
    StallMeter stalls;
    const double cpuBefore = threadCpuMs();
    Clipboard::Reading reading = settle(clipboard, 10);
    const double uiCpuMs = threadCpuMs() - cpuBefore;
    const Memory after = memory();
    const double textMb = reading.text.size() * 2 / 1048576.0;
    std::printf("%lld MB text: %s, change to Ready %lld ms, max UI stall %lld ms, "
                "UI thread CPU %.1f ms, %d read(s)\n",
                qlonglong(megabytes),
                reading.status == Clipboard::Status::Ready && reading.text.endsWith("fine")
                    ? "intact"
                    : "DAMAGED",
                qlonglong(readyMs), qlonglong(stalls.worstMs()), uiCpuMs,
                clipboard.readsStarted() - readsBefore);
    std::printf("  memory growth: RSS %+.1f MB, PSS %+.1f MB, peak RSS %+.1f MB "
                "(the text as QString: %.1f MB)\n",
                (after.rssKb - before.rssKb) / 1024.0, (after.pssKb - before.pssKb) / 1024.0,
                (after.peakKb - before.rssKb) / 1024.0, textMb);
    reading = {};
    owner.stop();
    settle(clipboard);
    const Memory released = memory();
    std::printf("  after the clipboard emptied: RSS %+.1f MB\n",
                (released.rssKb - before.rssKb) / 1024.0);
}

void hungOwner(int seconds)
{
    X11Clipboard clipboard;
    ClipboardOwnerProcess owner;
    if (!owner.startScript({QStringLiteral("--hang")})) {
        std::printf("cannot start the hung owner: %s\n", qPrintable(owner.error()));
        return;
    }
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    int failedTicks = 0;
    int ticks = 0;
    qint64 firstFailureMs = -1;
    // The monitor's default tick.
    while (clock.elapsed() < seconds * 1000) {
        ++ticks;
        if (clipboard.poll().status == Clipboard::Status::Failed) {
            ++failedTicks;
            if (firstFailureMs < 0)
                firstFailureMs = clock.elapsed();
        }
        waitMs(700);
    }
    std::printf("hung owner for %d s: max UI stall %lld ms, first Failed after %lld ms, "
                "%d of %d ticks Failed, %d reads\n",
                seconds, qlonglong(stalls.worstMs()), qlonglong(firstFailureMs), failedTicks, ticks,
                clipboard.readsStarted());
}

} // namespace

int main(int argc, char *argv[])
{
    XvfbServer server;
    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    server.exportEnvironment();
    {
        QGuiApplication app(argc, argv);
        QCommandLineParser parser;
        const QCommandLineOption hangSeconds(QStringLiteral("hang-seconds"),
                                             QStringLiteral("How long the hung owner hangs."),
                                             QStringLiteral("seconds"), QStringLiteral("5"));
        parser.addOption(hangSeconds);
        parser.addHelpOption();
        parser.process(app);

        std::setvbuf(stdout, nullptr, _IONBF, 0);
        readsPerCopy();
        pollCost();
        largeText(10);
        largeText(50);
        hungOwner(parser.value(hangSeconds).toInt());
    }
    server.stop();
    return 0;
}
