// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmopz.h"

#include "helplauncher.h"
#include "messagebox.h"
#include "runsettings.h"
#include "screenmetrics.h"
#include "settingkeys.h"
#include "textnumber.h"
#include "twips.h"
#include "uifonts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kZeroQuestion =
    QStringLiteral("Inserendo 0 il monitoraggio degli Scrivel di sistema verrà interrotto.") +
    QStringLiteral("\r\r") + QStringLiteral("Per riprenderlo, cambiare nuovamente questo valore.");
const QString kOutOfRange =
    QStringLiteral("Inserimento non valido nella casella tempo di refresh!");

// Places a control by its rectangle in twips.
template <typename W>
W *place(W *widget, const ScreenMetrics &screen, int left, int top, int width, int height)
{
    widget->setGeometry(Twips::of(screen).toPixels(QRect(left, top, width, height)));
    return widget;
}

} // namespace

frmOpz::frmOpz(const LiveOptions &live, MessageBox &messages, HelpLauncher &help,
               const ScreenMetrics &screen, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_live(live),
      m_messages(messages), m_help(help)
{
    setObjectName(QStringLiteral("frmOpz"));
    setWindowTitle(QStringLiteral("Opzioni"));
    setFont(UiFonts::tahoma(8.25));
    createControls(screen);
    connectHandlers();
    Form_Load();
}

void frmOpz::createControls(const ScreenMetrics &screen)
{
    setFixedSize(Twips::of(screen).toPixels(QSize(5625, 2940)));

    // Created in tab order, which makes it the focus chain.
    const auto check = [&](const char *name, const QString &caption) {
        auto *box = new QCheckBox(caption, this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    const auto button = [&](const char *name, const QString &caption) {
        auto *push = new QPushButton(caption, this);
        push->setObjectName(QLatin1String(name));
        return push;
    };
    Check1 =
        place(check("Check1", QStringLiteral("&Mostra tray-icon")), screen, 120, 480, 3255, 255);
    Check2 = place(check("Check2", QStringLiteral("&Avvia ridotto a tray-icon")), screen, 120, 960,
                   3255, 255);
    Label1 = place(new QLabel(QStringLiteral("&Controlla il contenuto degli Scrivel di sistema "
                                             "ogni (tempo di refresh):"),
                              this),
                   screen, 120, 2160, 5055, 255);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = place(new QLineEdit(this), screen, 120, 2520, 1335, 285);
    Text1->setObjectName(QStringLiteral("Text1"));
    Label1->setBuddy(Text1);
    Command3 =
        place(button("Command3", QStringLiteral("&Sospendi")), screen, 3000, 2520, 1215, 375);
    Command4 =
        place(button("Command4", QStringLiteral("&Predefinito")), screen, 4320, 2520, 1215, 375);
    Command1 = place(button("Command1", QStringLiteral("OK")), screen, 4560, 330, 975, 375);
    Command1->setDefault(true);
    Command2 = place(button("Command2", QStringLiteral("Annulla")), screen, 4560, 810, 975, 375);
    Command5 = place(button("Command5", QStringLiteral("&Guida")), screen, 4560, 1290, 975, 375);
    Label2 = place(new QLabel(QStringLiteral("millisecondi."), this), screen, 1560, 2520, 975, 255);
    Label2->setObjectName(QStringLiteral("Label2"));
    Check3 =
        place(check("Check3", QStringLiteral("C&onferma uscita")), screen, 120, 1440, 3255, 255);
    Check1->setFocus();
}

void frmOpz::connectHandlers()
{
    connect(Check1, &QCheckBox::toggled, this, &frmOpz::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmOpz::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmOpz::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmOpz::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmOpz::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmOpz::Command5_Click);
}

void frmOpz::Form_Load()
{
    Text1->setText(QString::number(m_live.interval()));
    Check1->setChecked(m_live.trayIconShown());
    Check2->setChecked(m_live.settings.startHiddenChosen());
    Check1_Click();
    Check3->setChecked(m_live.settings.confirmsExit());
}

void frmOpz::Check1_Click()
{
    // A disabled Check2 keeps its mark, and OK still applies it.
    Check2->setEnabled(Check1->isChecked());
}

std::optional<int> frmOpz::requestedInterval()
{
    // A fraction is rounded first, so that anything that ends up as 0 is asked about.
    const qint64 ms = TextNumber::roundHalfEven(TextNumber::leading(Text1->text()));
    if (ms == 0 && m_messages.MsgBox(kZeroQuestion, MessageBox::OkCancel |
                                                        MessageBox::Exclamation) != MessageBox::Ok)
        return std::nullopt;
    if (!Setting::Ref.holds(ms)) {
        m_messages.MsgBox(kOutOfRange, MessageBox::OkOnly | MessageBox::Exclamation);
        // The dialog stays open for the correction.
        Text1->setFocus();
        Text1->selectAll();
        return std::nullopt;
    }
    return int(ms);
}

void frmOpz::Command1_Click()
{
    const std::optional<int> ms = requestedInterval();
    if (!ms)
        return;
    m_live.setInterval(*ms);
    m_live.setTrayIconShown(Check1->isChecked());
    m_live.settings.setStartHiddenChosen(Check2->isChecked());
    m_live.settings.setConfirmsExit(Check3->isChecked());
    accept();
}

void frmOpz::Command2_Click()
{
    reject();
}

void frmOpz::Command3_Click()
{
    Text1->setText(QStringLiteral("0"));
}

void frmOpz::Command4_Click()
{
    Text1->setText(QString::number(Setting::Ref.usual));
}

void frmOpz::Command5_Click()
{
    m_help.openHelp(HelpLauncher::Options);
}
