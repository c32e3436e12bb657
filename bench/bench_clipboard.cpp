// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the clipboard readers, side by side in one run: the X11 reader
// on a private Xvfb and the Wayland reader on a private headless compositor.
// Reads per copy and per unchanged tick, CPU per capture of a 1 KB text, the
// UI-thread cost of a poll, large texts (time to Ready, UI stalls, memory)
// and a source that never sends (UI stalls, the next copy's capture).
//
//   bench_clipboard [--hang-seconds N] [--reader x11|wayland]

#include "clipboardownerprocess.h"
#include "headlesscompositor.h"
#include "stallmeter.h"
#include "waylandclipboard.h"
#include "waylandownerprocess.h"
#include "x11clipboard.h"
#include "xvfbserver.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <vector>

namespace {

// Tick of the clipboard monitor.
constexpr int kTickMs = 700;

// One reader with the other program that copies for it.
struct Rig
{
    const char *name;
    std::function<std::unique_ptr<WorkerClipboard>()> make;
    // Another program copies the text; true once the clipboard has heard of it.
    std::function<bool(WorkerClipboard &clipboard, const QByteArray &text)> copy;
    // Another program offers "<text> 1" to "<text> N", each replaced once read.
    std::function<bool(int count, const QByteArray &text)> burst;
    // Another program holds the selection and never sends anything.
    std::function<bool(WorkerClipboard &clipboard)> hang;
    std::function<void()> release;
};

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

double cpuMs(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
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

void readsPerCopy(const Rig &rig)
{
    // Read when polled, as a read-ahead would also read the harness's own
    // change of owner between two copies.
    const auto clipboard = rig.make();
    settle(*clipboard);
    const int readsBefore = clipboard->readsStarted();
    const int copies = 20;
    const int unchangedTicks = 200;
    for (int copy = 0; copy < copies; ++copy) {
        rig.copy(*clipboard, "copia numero " + QByteArray::number(copy));
        settle(*clipboard);
    }
    const int reads = clipboard->readsStarted() - readsBefore;
    for (int tick = 0; tick < unchangedTicks; ++tick) {
        clipboard->poll();
        waitMs(5);
    }
    std::printf("  reads per copy: %.2f (%d reads, %d copies); per unchanged tick: %.3f "
                "(%d ticks)\n",
                double(reads) / copies, reads, copies,
                double(clipboard->readsStarted() - readsBefore - reads) / unchangedTicks,
                unchangedTicks);
    rig.release();
}

// Returns the process's CPU per capture in ms.
double cpuPerCapture(const Rig &rig, bool print = true)
{
    const auto clipboard = rig.make();
    clipboard->setReadAhead(true);
    settle(*clipboard);
    const int count = 200;
    const QByteArray text = utf8Text(1024 - 4);
    const QString last = QString::fromUtf8(text) + QStringLiteral(" %1").arg(count);
    int captured = 0;
    QElapsedTimer clock;
    clock.start();
    if (!rig.burst(count, text)) {
        std::printf("  cannot start the burst\n");
        return 0;
    }
    // From here on, not counting the owner's start: the reads made since.
    const int readsBefore = clipboard->readsStarted();
    const double processBefore = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    const double uiBefore = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    for (;;) {
        const Clipboard::Reading reading = clipboard->poll();
        if (reading.status == Clipboard::Status::Ready) {
            captured += int(reading.earlier.size());
            if (reading.text == last)
                break;
        }
        if (clock.elapsed() > 60000) {
            std::printf("  the burst did not end\n");
            break;
        }
        waitMs(10);
    }
    const int reads = std::max(1, clipboard->readsStarted() - readsBefore);
    const double processMs = (cpuMs(CLOCK_PROCESS_CPUTIME_ID) - processBefore) / reads;
    const double uiMs = (cpuMs(CLOCK_THREAD_CPUTIME_ID) - uiBefore) / reads;
    if (print)
        std::printf("  CPU per capture of a 1 KB text: %.3f ms (UI thread %.3f ms; %d copies in "
                    "%lld ms, %d handed over as earlier, %d reads measured)\n",
                    processMs, uiMs, count, qlonglong(clock.elapsed()), captured, reads);
    rig.release();
    return processMs;
}

void pollCost(const Rig &rig)
{
    const auto clipboard = rig.make();
    rig.copy(*clipboard, utf8Text(1024));
    settle(*clipboard);
    std::vector<qint64> ns;
    const int polls = 100000;
    ns.reserve(polls);
    QElapsedTimer clock;
    for (int i = 0; i < polls; ++i) {
        clock.start();
        const Clipboard::Reading reading = clipboard->poll();
        ns.push_back(clock.nsecsElapsed());
        if (reading.text.isEmpty())
            std::printf("  unexpected reading\n");
    }
    std::sort(ns.begin(), ns.end());
    std::printf("  poll(), unchanged 1 KB text: median %.3f us, 99th percentile %.3f us, "
                "max %.1f us\n",
                ns[ns.size() / 2] / 1000.0, ns[ns.size() * 99 / 100] / 1000.0, ns.back() / 1000.0);
    rig.release();
}

void largeText(const Rig &rig, qsizetype megabytes)
{
    const auto clipboard = rig.make();
    clipboard->setReadAhead(true);
    rig.copy(*clipboard, "piccolo");
    settle(*clipboard);
    const int readsBefore = clipboard->readsStarted();

    QElapsedTimer sinceChange;
    qint64 readyMs = -1;
    QObject::connect(clipboard.get(), &WorkerClipboard::changed, clipboard.get(),
                     [&] { sinceChange.start(); });
    QObject::connect(clipboard.get(), &WorkerClipboard::readFinished, clipboard.get(), [&] {
        if (sinceChange.isValid())
            readyMs = sinceChange.elapsed();
    });
    const Memory before = memory();
    {
        const QByteArray text = utf8Text(megabytes * 1024 * 1024);
        resetPeak();
        if (!rig.copy(*clipboard, text)) {
            std::printf("  cannot copy the text\n");
            return;
        }
    }
    // From the change on: what the reader costs the UI thread.
    StallMeter stalls;
    const double cpuBefore = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    Clipboard::Reading reading = settle(*clipboard, 10);
    const double uiCpuMs = cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpuBefore;
    const Memory after = memory();
    std::printf("  %lld MB text: %s, change to Ready %lld ms, max UI stall %lld ms, "
                "UI thread CPU %.1f ms, %d read(s)\n",
                qlonglong(megabytes),
                reading.status == Clipboard::Status::Ready && reading.text.endsWith("fine")
                    ? "intact"
                    : "DAMAGED",
                qlonglong(readyMs), qlonglong(stalls.worstMs()), uiCpuMs,
                clipboard->readsStarted() - readsBefore);
    std::printf("    memory growth: RSS %+.1f MB, PSS %+.1f MB, peak RSS %+.1f MB "
                "(the text in UTF-8: %.1f MB)\n",
                (after.rssKb - before.rssKb) / 1024.0, (after.pssKb - before.pssKb) / 1024.0,
                (after.peakKb - before.rssKb) / 1024.0, reading.text.size() / 1048576.0);
    reading = {};
    rig.release();
}

void silentSource(const Rig &rig, int seconds)
{
    const auto clipboard = rig.make();
    clipboard->setReadAhead(true);
    if (!rig.hang(*clipboard)) {
        std::printf("  cannot start the silent source\n");
        return;
    }
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    int failedTicks = 0;
    int ticks = 0;
    qint64 firstFailureMs = -1;
    while (clock.elapsed() < seconds * 1000) {
        ++ticks;
        if (clipboard->poll().status == Clipboard::Status::Failed) {
            ++failedTicks;
            if (firstFailureMs < 0)
                firstFailureMs = clock.elapsed();
        }
        waitMs(kTickMs);
    }
    const qint64 worstStall = stalls.worstMs();
    // Another program copies: the next tick captures it.
    rig.copy(*clipboard, "dopo il silenzio");
    QElapsedTimer sinceCopy;
    sinceCopy.start();
    int ticksToCapture = 0;
    for (; ticksToCapture < 20; ++ticksToCapture) {
        waitMs(kTickMs);
        const Clipboard::Reading reading = clipboard->poll();
        if (reading.status == Clipboard::Status::Ready && reading.text == "dopo il silenzio")
            break;
    }
    std::printf("  source silent for %d s: max UI stall %lld ms, first Failed after %lld ms, "
                "%d of %d ticks Failed; the next copy captured at tick %d after it\n",
                seconds, qlonglong(worstStall), qlonglong(firstFailureMs), failedTicks, ticks,
                ticksToCapture + 1);
    rig.release();
}

Rig x11Rig(ClipboardOwnerProcess &owner)
{
    return {
        "X11 reader (Xvfb)",
        [] { return std::make_unique<X11Clipboard>(); },
        [&owner](WorkerClipboard &, const QByteArray &text) { return owner.startXclip(text); },
        [&owner](int count, const QByteArray &text) {
            return owner.startScript({QStringLiteral("--burst"), QString::number(count),
                                      QStringLiteral("--text"), QString::fromUtf8(text)});
        },
        [&owner](WorkerClipboard &) { return owner.startScript({QStringLiteral("--hang")}); },
        [&owner] { owner.stop(); },
    };
}

// Starts the owner and waits until the clipboard has heard of its selection.
bool startHeard(WorkerClipboard &clipboard, WaylandOwnerProcess &owner,
                const QStringList &arguments)
{
    bool heard = false;
    const QMetaObject::Connection changed =
        QObject::connect(&clipboard, &WorkerClipboard::changed, [&heard] { heard = true; });
    bool started = owner.start(arguments);
    QElapsedTimer clock;
    clock.start();
    while (started && !heard && clock.elapsed() < 5000)
        waitMs(1);
    QObject::disconnect(changed);
    return started && heard;
}

Rig waylandRig(WaylandOwnerProcess &owner, QTemporaryFile &file)
{
    return {
        "Wayland reader (headless compositor, data-control)",
        []() -> std::unique_ptr<WorkerClipboard> { return WaylandClipboard::connectTo(); },
        [&owner, &file](WorkerClipboard &clipboard, const QByteArray &text) {
            // From a file, so that large texts start quickly.
            file.resize(0);
            file.seek(0);
            return file.write(text) == text.size() && file.flush() &&
                   startHeard(clipboard, owner, {QStringLiteral("--text-file"), file.fileName()});
        },
        [&owner](int count, const QByteArray &text) {
            return owner.start({QStringLiteral("--burst"), QString::number(count),
                                QStringLiteral("--text"), QString::fromUtf8(text)});
        },
        [&owner](WorkerClipboard &clipboard) {
            return startHeard(clipboard, owner, {QStringLiteral("--hang")});
        },
        [&owner] { owner.stop(); },
    };
}

} // namespace

int main(int argc, char *argv[])
{
    // A fixed threshold: large texts then live in mappings of their own, and
    // the memory figures tell what the readers keep, not how glibc's
    // heuristics moved the threshold after the texts before.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    XvfbServer server;
    HeadlessCompositor compositor;
    QString error;
    if (!server.start(&error) || !compositor.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    server.exportEnvironment();
    compositor.exportEnvironment();
    {
        QGuiApplication app(argc, argv);
        QCommandLineParser parser;
        const QCommandLineOption hangSeconds(QStringLiteral("hang-seconds"),
                                             QStringLiteral("How long the source stays silent."),
                                             QStringLiteral("seconds"), QStringLiteral("5"));
        const QCommandLineOption only(QStringLiteral("reader"),
                                      QStringLiteral("Only this reader: x11 or wayland."),
                                      QStringLiteral("reader"));
        parser.addOptions({hangSeconds, only});
        parser.addHelpOption();
        parser.process(app);

        std::setvbuf(stdout, nullptr, _IONBF, 0);
        ClipboardOwnerProcess x11Owner;
        WaylandOwnerProcess waylandOwner;
        QTemporaryFile file;
        if (!file.open())
            return 1;
        std::vector<Rig> rigs;
        if (parser.value(only) != QLatin1String("wayland"))
            rigs.push_back(x11Rig(x11Owner));
        if (parser.value(only) != QLatin1String("x11"))
            rigs.push_back(waylandRig(waylandOwner, file));

        for (const Rig &rig : rigs) {
            std::printf("%s\n", rig.name);
            readsPerCopy(rig);
            cpuPerCapture(rig);
            pollCost(rig);
            largeText(rig, 10);
            largeText(rig, 50);
            silentSource(rig, parser.value(hangSeconds).toInt());
        }
        // CPU figures are small and the machine is shared: the readers take
        // turns, and each one's median counts.
        if (rigs.size() == 2) {
            constexpr int kRounds = 7;
            std::vector<double> cpu[2];
            for (int round = 0; round < kRounds; ++round) {
                for (size_t r = 0; r < 2; ++r)
                    cpu[r].push_back(cpuPerCapture(rigs[r], false));
            }
            for (auto &each : cpu)
                std::sort(each.begin(), each.end());
            const double x11 = cpu[0][kRounds / 2];
            const double wayland = cpu[1][kRounds / 2];
            std::printf("CPU per capture of a 1 KB text, median of %d bursts of 200: X11 %.3f ms, "
                        "Wayland %.3f ms; Wayland / X11: %.2f\n",
                        kRounds, x11, wayland, x11 > 0 ? wayland / x11 : 0.0);
        }
    }
    compositor.stop();
    server.stop();
    return 0;
}
