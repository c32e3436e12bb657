// SPDX-License-Identifier: GPL-3.0-or-later
#include "form3.h"

#include "helplauncher.h"
#include "memorystatus.h"
#include "screenmetrics.h"
#include "trayart.h"
#include "uifonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QStyle>

namespace {

constexpr QChar kLineEnd = QChar(0x00A7); // "§"
constexpr int kFigureTickMs = 50;

QMargins frameOf(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

bool sameFigures(const MemoryFigures &a, const MemoryFigures &b)
{
    return a.totalPhysical == b.totalPhysical && a.availablePhysical == b.availablePhysical &&
           a.availablePageFile == b.availablePageFile;
}

} // namespace

const QString Form3::kNotice = QStringLiteral("Scrivel tiene a portata di mano ciò che copi.§"
                                              "Ogni testo copiato resta in lista: un doppio clic "
                                              "e torna tuo.§"
                                              "Buon lavoro!");

Form3::Form3(MemoryStatus &memory, HelpLauncher &help, const ScreenMetrics &screen, QWidget *parent,
             const QLocale &locale)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_memory(memory), m_help(help), m_locale(locale), m_twips(Twips::of(screen)),
      m_background(backgroundPicture())
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Informazioni su..."));
    setFont(UiFonts::tahoma(8.25));
    setFixedSize(m_twips.toPixels(QSize(4860, 3060)));
    createLabels();
    createButtons();
    createMemoryArea();
    placeCentred(screen);

    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(1);
    connect(&Timer1, &QTimer::timeout, this, &Form3::Timer1_Timer);
    Timer1.start();
}

QLabel *Form3::addLabel(int left, int top, int width, int height)
{
    auto *label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(m_twips.toPixels(QRect(left, top, width, height)));
    return label;
}

void Form3::createLabels()
{
    struct LabelInfo
    {
        int index, left, top, width, height;
        bool centred;
    };
    static constexpr LabelInfo labelInfos[] = {
        {0, 1920, 120, 2565, 435, true},  {1, 1560, 600, 3195, 315, true},
        {2, 2400, 960, 1695, 255, true},  {3, 120, 1320, 4485, 315, false},
        {4, 120, 1560, 4695, 375, false}, {5, 120, 2040, 1515, 255, false},
        {7, 120, 2760, 3645, 255, true},
    };
    for (const LabelInfo &s : labelInfos) {
        QLabel *label = addLabel(s.left, s.top, s.width, s.height);
        label->setObjectName(QStringLiteral("Label1_%1").arg(s.index));
        if (s.centred)
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        Label1[s.index] = label;
    }
    Label1[0]->setFont(UiFonts::tahoma(14.25));
    Label1[0]->setText(QStringLiteral("Q&V SCRIVEL"));
    Label1[1]->setText(QStringLiteral("Una funzione in più per Windows."));
    Label1[2]->setText(QStringLiteral("Versione 5"));
    Label1[4]->setWordWrap(true);
    Label1[5]->setFont(UiFonts::arial(8.25));
    Label1[7]->setText(QStringLiteral("Software libero: licenza GPL v3 o successiva."));
    QPalette white = Label1[7]->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    Label1[7]->setPalette(white);

    Image1 = addLabel(600, 360, 480, 480);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(TrayArt::normalIcon().pixmap(32, 32));
}

void Form3::createButtons()
{
    const auto button = [this](const char *name, const QString &caption, int top) {
        auto *push = new QPushButton(caption, this);
        push->setObjectName(QLatin1String(name));
        push->setGeometry(m_twips.toPixels(QRect(3960, top, 825, 345)));
        return push;
    };
    // Created in tab order.
    Command1 = button("Command1", QStringLiteral("OK"), 2640);
    Command1->setDefault(true);
    Command2 = button("Command2", QStringLiteral("&Crediti"), 2160);
    Command3 = button("Command3", QStringLiteral("&Memoria"), 1800);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form3::Command3_Click);
    Command1->setFocus();
}

void Form3::createMemoryArea()
{
    // Below the bottom edge until "&Memoria" enlarges the window.
    const auto figure = [this](const char *name, int top) {
        QLabel *label = addLabel(810, top, 3975, 255);
        label->setObjectName(QLatin1String(name));
        label->setAutoFillBackground(true);
        return label;
    };
    Label2 = figure("Label2", 3180);
    Label4 = figure("Label4", 3420);
    Label3 = figure("Label3", 3660);
    Image2 = addLabel(120, 3300, 480, 480);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
}

void Form3::placeCentred(const ScreenMetrics &screen)
{
    // The frame is known only once the window is shown; the main window's is a
    // good guess for it.
    const QMargins frame = parentWidget() ? frameOf(*parentWidget()->window()) : QMargins();
    const QRect area = m_twips.toPixels(screen.workAreaTwips());
    const QSize outer = size().grownBy(frame);
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
}

QString Form3::groupedFigure(qint64 bytes, const QLocale &locale)
{
    QString digits = QString::number(bytes);
    const qsizetype firstDigit = digits.startsWith(QLatin1Char('-')) ? 1 : 0;
    const QString separator = locale.groupSeparator();
    for (qsizetype i = digits.size() - 3; i > firstDigit; i -= 3)
        digits.insert(i, separator);
    return digits;
}

QImage Form3::backgroundPicture()
{
    QImage picture(397, 270, QImage::Format_RGB32);
    QPainter painter(&picture);
    QRadialGradient gradient(QPointF(0, 0), std::hypot(397.0, 270.0));
    gradient.setColorAt(0.0, QColor(0xff, 0xe8, 0x2a)); // yellow
    gradient.setColorAt(0.5, QColor(0x7b, 0x2c, 0xbf)); // purple
    gradient.setColorAt(1.0, QColor(0xf0, 0x5a, 0xa8)); // pink
    painter.fillRect(picture.rect(), gradient);

    // A faint brick wall: courses of 12 pixels, bricks of 24 offset by half.
    constexpr int kCourse = 12;
    constexpr int kBrick = 24;
    painter.setPen(QColor(255, 255, 255, 36));
    for (int top = 0, row = 0; top < picture.height(); top += kCourse, ++row) {
        painter.drawLine(0, top, picture.width(), top);
        for (int x = (row % 2) * kBrick / 2; x < picture.width(); x += kBrick)
            painter.drawLine(x, top, x, top + kCourse);
    }
    return picture;
}

void Form3::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // A window manager whose frame is thinner than expected leaves a few more
    // pixels inside; the picture stretches over them.
    painter.drawImage(QRect(QPoint(0, 0), size().expandedTo(m_background.size())), m_background);
}

void Form3::keyPressEvent(QKeyEvent *event)
{
    // Only OK, Enter and the close box close the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Form3::Timer1_Timer()
{
    typeNextCharacter();
    refreshMemory();
}

void Form3::typeNextCharacter()
{
    ++m_position;
    if (m_position > kNotice.size()) {
        m_position = qint16(kNotice.size() + 1);
        // Only the figures change from now on, and no faster than this; waking
        // up every millisecond for them would cost a few percent of a core.
        if (Timer1.interval() < kFigureTickMs)
            Timer1.setInterval(kFigureTickMs);
        return;
    }
    QLabel *label = m_line < int(Label1.size()) ? Label1[m_line] : nullptr;
    if (!label)
        return;
    const QChar c = kNotice.at(m_position - 1);
    if (c != kLineEnd) {
        label->setText(label->text() + c);
        return;
    }
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    ++m_line;
}

void Form3::refreshMemory()
{
    const MemoryFigures figures = m_memory.read();
    // The timer ticks every millisecond: texts are made only for new figures.
    if (m_shownFigures && sameFigures(*m_shownFigures, figures))
        return;
    m_shownFigures = figures;
    const auto bytes = [this](qint64 value) {
        return groupedFigure(value, m_locale) + QStringLiteral(" bytes");
    };
    Label3->setText(QStringLiteral(" Memoria virtuale disponibile: ") +
                    bytes(figures.availablePageFile));
    Label2->setText(QStringLiteral(" Memoria fisica totale:  ") + bytes(figures.totalPhysical));
    Label4->setText(QStringLiteral(" Memoria fisica disponibile:  ") +
                    bytes(figures.availablePhysical));
}

void Form3::Command1_Click()
{
    accept();
}

void Form3::Command2_Click()
{
    m_help.openHelp(HelpLauncher::Credits);
}

void Form3::Command3_Click()
{
    QMargins frame = frameOf(*this);
    if (frame.isNull() && parentWidget())
        frame = frameOf(*parentWidget()->window());
    setFixedHeight(std::max(1, m_twips.yToPixels(kEnlargedHeight) - frame.top() - frame.bottom()));
    Command3->setEnabled(false);
}
