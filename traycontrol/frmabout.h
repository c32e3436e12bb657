// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QUrl;

/// The control's about box: title, logo, credit line with the author's mail link, and OK.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    static constexpr char MailAddress[] = "vandrillo@example.org";

    /// `openUrl` is called with "mailto:" and the address when the mail link is clicked.
    explicit frmAbout(std::function<bool(const QUrl &)> openUrl, QWidget *parent = nullptr);

    QPushButton *cmdOK = nullptr;
    QFrame *picLogo = nullptr;
    QLabel *imgLogo = nullptr;
    QLabel *lblMail = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void cmdOK_Click();
    void lblMail_Click();

    std::function<bool(const QUrl &)> m_openUrl;
};
