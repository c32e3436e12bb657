// SPDX-License-Identifier: GPL-3.0-or-later
#include "form2.h"

#include "contentbox.h"
#include "framegeometry.h"
#include "helplauncher.h"
#include "historystore.h"
#include "messagebox.h"
#include "namebox.h"
#include "platform.h"
#include "screenmetrics.h"
#include "selectedrow.h"
#include "settingkeys.h"
#include "storedplacement.h"
#include "uifonts.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <limits>

namespace {

// A sheet with lines of text and a pencil across it.
QPixmap iconPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.scale(size / 16.0, size / 16.0);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 10, 13);
    p.setPen(QColor(0x25, 0x63, 0xeb));
    for (int y = 4; y <= 11; y += 2)
        p.drawLine(4, y, 10, y);
    p.setPen(QPen(QColor(0xca, 0x8a, 0x04), 2));
    p.drawLine(8, 14, 14, 6);
    return picture;
}

QIcon editorIcon()
{
    QIcon icon;
    icon.addPixmap(iconPicture(16));
    icon.addPixmap(iconPicture(32));
    return icon;
}

} // namespace

Form2::Form2(Platform &platform, HelpLauncher &help, HistoryStore &store,
             const QAbstractItemView &List1, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_platform(platform), m_help(help), m_store(store), m_list(List1)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Contenuto della selezione"));
    setWindowIcon(editorIcon());
    setFont(UiFonts::tahoma(8.25));
    m_geometry = new FrameGeometry(*this, m_platform.screen);
    createControls();
    resize(m_geometry->twips().toPixels(QSize(kClientWidth, kClientHeight)));
    Form_Load();
}

Form2::~Form2() = default;

void Form2::createControls()
{
    // Created in tab order.
    Label2 = new QLabel(QStringLiteral("&Nome:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text2 = new NameBox(QStringLiteral("Text2"), this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Label2->setBuddy(Text2);

    Label1 = new QLabel(QStringLiteral("C&ontenuto:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new ContentBox(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(UiFonts::courierNew(9));
    Text1->setText(QStringLiteral("Text1"));
    Label1->setBuddy(Text1);

    Command1 = new QPushButton(QStringLiteral("&Chiudi"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("&Guida"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    place(Label2, m_twips.Label2);
    place(Text2, m_twips.Text2);
    place(Label1, m_twips.Label1);
    place(Text1, m_twips.Text1);
    place(Command1, m_twips.Command1);
    place(Command2, m_twips.Command2);

    connect(Text2, &QLineEdit::textChanged, this, &Form2::countChange);
    connect(Text1, &QPlainTextEdit::textChanged, this, &Form2::countChange);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
}

void Form2::place(QWidget *control, const QRect &twips)
{
    control->setGeometry(m_geometry->twips().toPixels(twips));
}

void Form2::Form_Load()
{
    // A rectangle that cannot be used leaves the window where a first opening puts it.
    if (const auto stored = StoredPlacement::rectangle(m_platform.settings, Setting::Editor,
                                                       m_platform.screen.allWorkAreasTwips()))
        m_geometry->setOuterTwips(*stored);

    m_changeCount = 0;
    m_row = selectedRow(m_list);
    Text2->setName(m_row >= 0 && m_row < m_store.count() ? m_store.name(m_row) : QString());
    Text2->setSelection(0, int(Text2->text().size()));
}

void Form2::fillForEditing(const QString &content)
{
    Text1->setText(content);
}

void Form2::fillForClipboardView(const QString &text)
{
    Text2->setEnabled(false);
    Text2->setName(QStringLiteral("Scrivel di sistema"));
    Text1->setReadOnly(true);
    Text1->setText(text);
    setWindowTitle(QStringLiteral("Contenuto degli Scrivel di sistema"));
}

void Form2::countChange()
{
    // The count only has to tell 2 from anything else; it must not wrap.
    if (m_changeCount < std::numeric_limits<qint16>::max())
        ++m_changeCount;
}

void Form2::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void Form2::Form_Resize()
{
    const QRect outer = m_geometry->outerTwips();
    const int w = outer.width();
    const int h = outer.height();
    Placement &t = m_twips;
    // Each step stands alone: a size that would be negative is skipped and
    // the control keeps its previous one.
    if (const int width = w - 100; width >= 0)
        t.Text1.setWidth(width);
    if (const int height = h - 500 - t.Label1.top() - t.Label1.height() - t.Command1.height();
        height >= 0)
        t.Text1.setHeight(height);
    if (const int width = w - t.Label2.width() - t.Label2.left(); width >= 0)
        t.Text2.setWidth(width);
    t.Command1.moveLeft(w - t.Command1.width() - 200);
    t.Command1.moveTop(t.Text1.top() + t.Text1.height() + 100);
    t.Command2.moveLeft(t.Command1.left() - 1000);
    t.Command2.moveTop(t.Command1.top());
    place(Text1, t.Text1);
    place(Text2, t.Text2);
    place(Command1, t.Command1);
    place(Command2, t.Command2);
}

void Form2::Command1_Click()
{
    close();
}

void Form2::Command2_Click()
{
    m_help.openHelp(HelpLauncher::EntryEditor);
}

bool Form2::Form_QueryUnload()
{
    if (Text2->isEnabled()) {
        if (Text2->text().isEmpty()) {
            m_platform.messages.MsgBox(QStringLiteral("È consigliabile specificare un nome..."),
                                       MessageBox::OkOnly + MessageBox::Information);
            Text2->setFocus();
            return false;
        }
        if (m_changeCount != 2) {
            const int answer = m_platform.messages.MsgBox(
                QStringLiteral("Memorizzare le modifiche?"),
                MessageBox::YesNo + MessageBox::Exclamation, QStringLiteral("Contenuto selezione"));
            // The entry is stored only where it still stands.
            const int row = selectedRow(m_list);
            if (answer == MessageBox::Yes && row == m_row && row >= 0 && row < m_store.count())
                m_store.updateEntry(row, Text2->name(), Text1->text());
        }
    }
    storeGeometry();
    return true;
}

QRect Form2::storableOuterTwips() const
{
    if (!isMinimized() && !isMaximized())
        return m_geometry->outerTwips();
    // Minimised or maximised: the place and size the window comes back to.
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QRect normal =
        normalGeometry().adjusted(frame.left() - client.left(), frame.top() - client.top(),
                                  frame.right() - client.right(), frame.bottom() - client.bottom());
    return m_geometry->twips().toTwips(normal);
}

void Form2::storeGeometry()
{
    Setting::Editor.write(m_platform.settings, storableOuterTwips());
}

void Form2::done(int result)
{
    if (!m_closingDone) {
        if (!Form_QueryUnload())
            return;
        m_closingDone = true;
    }
    QDialog::done(result);
}

void Form2::closeEvent(QCloseEvent *event)
{
    if (!m_closingDone) {
        if (!Form_QueryUnload()) {
            event->ignore();
            return;
        }
        m_closingDone = true;
    }
    QDialog::closeEvent(event);
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    // The editor has no cancel button: Esc does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
