// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtmessagebox.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

QString displayText(QString text)
{
    // The stored text keeps its carriage returns; only the display breaks lines there.
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0xF0) {
    case MessageBox::Critical:
        return QMessageBox::Critical;
    case MessageBox::Question:
        return QMessageBox::Question;
    case MessageBox::Exclamation:
        return QMessageBox::Warning;
    case MessageBox::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonInfo
{
    const char *caption;
    int result;
    QMessageBox::ButtonRole role;
};

QList<ButtonInfo> buttonsFor(int style)
{
    switch (style & 0x0F) {
    case MessageBox::OkCancel:
        return {{"OK", MessageBox::Ok, QMessageBox::AcceptRole},
                {"Annulla", MessageBox::Cancel, QMessageBox::RejectRole}};
    case MessageBox::YesNoCancel:
        return {{"Sì", MessageBox::Yes, QMessageBox::YesRole},
                {"No", MessageBox::No, QMessageBox::NoRole},
                {"Annulla", MessageBox::Cancel, QMessageBox::RejectRole}};
    case MessageBox::YesNo:
        return {{"Sì", MessageBox::Yes, QMessageBox::YesRole},
                {"No", MessageBox::No, QMessageBox::NoRole}};
    default:
        return {{"OK", MessageBox::Ok, QMessageBox::AcceptRole}};
    }
}

} // namespace

QString QtMessageBox::applicationTitle()
{
    return QStringLiteral("Scrivel v.5");
}

int QtMessageBox::MsgBox(const QString &text, int style, const QString &title)
{
    QMessageBox box(iconFor(style), title.isEmpty() ? applicationTitle() : title, displayText(text),
                    QMessageBox::NoButton, m_parent);
    // Texts quote the clipboard: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    const QList<ButtonInfo> buttonInfos = buttonsFor(style);
    QList<QPushButton *> buttons;
    for (const ButtonInfo &info : buttonInfos)
        buttons << box.addButton(QString::fromUtf8(info.caption), info.role);
    box.setDefaultButton(buttons.first());
    // Esc answers Cancel where there is one, the only button otherwise; with
    // Yes and No alone it does nothing.
    if ((style & 0x0F) != YesNo)
        box.setEscapeButton(buttons.last());
    box.exec();
    const int index = buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return index >= 0 ? buttonInfos[index].result : buttonInfos.last().result;
}
