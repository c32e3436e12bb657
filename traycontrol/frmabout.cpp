// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmabout.h"

#include "vandrillopictures.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr char AuthorName[] = "Vandril";

QLabel *makeLabel(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

QFrame *makeLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("linLinea"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmAbout::frmAbout(std::function<bool(const QUrl &)> openUrl, QWidget *parent)
    : QDialog(parent), m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Controllo Vandrillo"));
    createControls();
}

void frmAbout::createControls()
{
    // Created in the order of the box's controls, which is also the tab order.
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    picLogo = new QFrame(this);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setFrameShape(QFrame::Panel);
    picLogo->setFrameShadow(QFrame::Sunken);
    imgLogo = new QLabel(picLogo);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(QPixmap::fromImage(VandrilloPictures::imgLogo()));
    auto *logoLayout = new QHBoxLayout(picLogo);
    logoLayout->setContentsMargins(4, 4, 4, 4);
    logoLayout->addWidget(imgLogo);

    QFrame *topLine = makeLine(this);
    QFrame *bottomLine = makeLine(this);

    QLabel *closing = makeLabel(QStringLiteral("Label1"), QStringLiteral(")"), this);
    const QString address = QString::fromLatin1(MailAddress);
    lblMail = makeLabel(QStringLiteral("lblMail"), address, this);
    QFont linkFont = lblMail->font();
    linkFont.setUnderline(true);
    lblMail->setFont(linkFont);
    QPalette linkPalette = lblMail->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
    lblMail->setPalette(linkPalette);
    lblMail->setCursor(Qt::PointingHandCursor);
    lblMail->installEventFilter(this);
    QLabel *credit = makeLabel(QStringLiteral("Label1"),
                               QStringLiteral("Realizzato da ") + QString::fromLatin1(AuthorName) +
                                   QStringLiteral(" ("),
                               this);
    QLabel *title = makeLabel(QStringLiteral("Label1"),
                              QStringLiteral("Controllo ActiveX Vandrillo Versione 1.0"), this);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(11.25);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto *heading = new QHBoxLayout;
    heading->addWidget(picLogo);
    heading->addWidget(title, 1);

    // The three credit labels read as one line: credit, address, closing parenthesis.
    auto *creditLine = new QHBoxLayout;
    creditLine->setSpacing(0);
    creditLine->addStretch();
    creditLine->addWidget(credit);
    creditLine->addWidget(lblMail);
    creditLine->addWidget(closing);
    creditLine->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(topLine);
    layout->addLayout(creditLine);
    layout->addWidget(bottomLine);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblMail && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            lblMail->rect().contains(mouse->position().toPoint())) {
            lblMail_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::lblMail_Click()
{
    // The result is not examined: a missing mail program shows nothing, and the box stays.
    if (m_openUrl)
        m_openUrl(QUrl(QStringLiteral("mailto:") + QString::fromLatin1(MailAddress)));
}
