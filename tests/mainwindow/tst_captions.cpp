// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeplatform.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "framegeometry.h"
#include "frmabout.h"
#include "frmopz.h"
#include "helplauncher.h"
#include "historyview.h"
#include "memorystatus.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>

namespace {

// Twelve-digit figures: the widest a machine of today reports.
class LargeMemory : public MemoryStatus
{
public:
    MemoryFigures read() override { return {999'999'999'999, 999'999'999'999, 999'999'999'999}; }
};

// The caption as drawn: an access-key "&" takes no room, "&&" draws one.
QString drawnText(QString text, bool mnemonic)
{
    if (mnemonic)
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
            .remove(QLatin1Char('&'))
            .replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// The part of `widget` the window really shows: cut by every ancestor.
QRect shownRect(const QWidget &widget)
{
    QRect shown = widget.rect();
    QPoint offset;
    for (const QWidget *w = &widget; !w->isWindow(); w = w->parentWidget()) {
        offset += w->pos();
        shown &= w->parentWidget()->rect().translated(-offset);
    }
    return shown;
}

// The room the style leaves for a button's caption, and the caption.
QRect buttonTextRoom(const QAbstractButton &button)
{
    if (const auto *push = qobject_cast<const QPushButton *>(&button)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        return push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
    }
    if (const auto *box = qobject_cast<const QCheckBox *>(&button)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    }
    return button.rect();
}

// Every clipped caption of `window`, and every button or label cut by the
// window's edge or its parent's, one line each.
QStringList clippedCaptions(QWidget &window)
{
    QStringList clipped;
    const auto report = [&](const QWidget &w, const QString &text, const QRect &room, int width,
                            int height) {
        clipped << QStringLiteral("%1/%2 \"%3\": needs %4x%5, has %6x%7")
                       .arg(window.objectName(), w.objectName(), text)
                       .arg(width)
                       .arg(height)
                       .arg(room.width())
                       .arg(room.height());
    };
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&window))
            continue;
        auto *label = qobject_cast<QLabel *>(w);
        auto *button = qobject_cast<QAbstractButton *>(w);
        if (!label && !button)
            continue;
        if (shownRect(*w) != w->rect())
            report(*w, QStringLiteral("(cut by its parent)"), shownRect(*w), w->width(),
                   w->height());
        const QFontMetrics metrics(w->font());
        if (label && !label->text().isEmpty()) {
            const bool mnemonic = label->textFormat() != Qt::PlainText || label->buddy();
            const QString text = drawnText(label->text(), mnemonic);
            QRect room = label->contentsRect();
            const int margin = label->margin() + std::max(0, label->indent());
            room.adjust(margin, label->margin(), -margin, -label->margin());
            const QRect needed = metrics.boundingRect(
                room, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0), text);
            if (needed.width() > room.width() || needed.height() > room.height())
                report(*label, text, room, needed.width(), needed.height());
        }
        if (button && !button->text().isEmpty()) {
            const QString text = drawnText(button->text(), true);
            const QRect room = buttonTextRoom(*button);
            const int width = metrics.horizontalAdvance(text);
            if (width > room.width() || metrics.height() > room.height())
                report(*button, text, room, width, metrics.height());
        }
    }
    return clipped;
}

} // namespace

class TestCaptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyCaptionShowsWhole();
};

void TestCaptions::everyCaptionShowsWhole()
{
    FakePlatform fake;
    Platform platform = fake.platform();
    Form1 form(platform, {}, fake.helpFolder());
    form.Form_Load();
    form.store().appendEntry(QByteArrayLiteral("una voce"));
    form.List1->setCurrentRow(0);
    QStringList clipped;

    // The main window in its window style, then as the docked bar.
    if (form.menus().stiletool->isChecked())
        form.menus().stilefin->trigger();
    clipped << clippedCaptions(form);
    form.menus().stiletool->trigger();
    QVERIFY(form.menus().stiletool->isChecked());
    clipped << clippedCaptions(form);

    frmOpz options(form.liveOptions(), fake.messages, form.help(), fake.screen);
    clipped << clippedCaptions(options);

    Form2 editor(platform, form.help(), form.store(), *form.List1);
    editor.fillForEditing(QStringLiteral("contenuto"));
    clipped << clippedCaptions(editor);

    // The about window once its lines are typed and its memory figures shown.
    LargeMemory memory;
    Form3 about(memory, form.help(), fake.screen);
    about.Timer1.stop();
    for (int i = 0; i < 200; ++i)
        about.Timer1_Timer();
    about.Command3_Click();
    clipped << clippedCaptions(about);

    frmAbout controlAbout([](const QUrl &) { return true; });
    controlAbout.show();
    QVERIFY(QTest::qWaitForWindowExposed(&controlAbout));
    clipped << clippedCaptions(controlAbout);

    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
