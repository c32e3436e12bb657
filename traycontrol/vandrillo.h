// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vandrillointerface.h"

#include <QWidget>
#include <functional>
#include <memory>

class QDialog;
class QUrl;
class TrayShell;

/// The tray-icon control: puts an icon with a tooltip into the notification area and reports
/// the mouse actions on it as events.
///
/// The widget is the control's own window: it owns the icon and receives its notifications.
/// While the icon is shown the control filters its own events (TrayWndProc) and turns each
/// tray message into MouseMove, MouseDown, MouseUp or MouseDblClick.
class Vandrillo : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(Vandril::PictureRef TrayIcon READ TrayIcon WRITE setTrayIcon NOTIFY TrayIconChanged)
    Q_PROPERTY(QString TrayTip READ TrayTip WRITE setTrayTip NOTIFY TrayTipChanged)
    Q_PROPERTY(bool TrayVisible READ TrayVisible WRITE setTrayVisible NOTIFY TrayVisibleChanged)
    Q_PROPERTY(QPoint TrayClickPos READ TrayClickPos)

public:
    /// What the control needs of the desktop, replaceable in tests; a member left empty gets
    /// its system counterpart.
    struct Services
    {
        std::unique_ptr<TrayShell> shell;
        /// Opens a URL with the desktop's handler (the about box's mail link).
        std::function<bool(const QUrl &)> openUrl;
        /// Shows a dialog modally and returns its result.
        std::function<int(QDialog &)> runModal;
    };

    /// The notification area, the desktop's URL handler and QDialog::exec().
    static Services systemServices();

    /// The control's side length in twips, kept whatever size the host gives it.
    static constexpr int SideTwips = 470;

    /// A control in its first state (nothing shown, no tip, no icon). `site` answers the
    /// ambient user mode and must outlive the control; null means run mode. Apply
    /// InitProperties() or ReadProperties() next.
    Vandrillo(Vandril::HostSite *site, Services services, QWidget *parent = nullptr);
    /// Removes the icon when it is shown.
    ~Vandrillo() override;

    /// A control with the system services, started from `saved` or, without it, from the
    /// initial properties.
    static Vandrillo *create(QWidget *parent, Vandril::HostSite *site,
                             const Vandril::PropertyBag *saved);

    Vandril::PictureRef TrayIcon() const { return m_icon; }
    /// Keeps `picture` when it is an icon picture; anything else is ignored.
    void setTrayIcon(const Vandril::PictureRef &picture);
    /// The whole tip, even beyond the 64 characters that reach the notification area.
    QString TrayTip() const { return m_tip; }
    void setTrayTip(const QString &tip);
    bool TrayVisible() const { return m_visible; }
    /// Shows (in run mode only) or removes the icon.
    void setTrayVisible(bool visible);
    /// While a mouse event is raised: where on the screen the notification area saw the
    /// click, or (0, 0) when it did not say. (0, 0) at any other time.
    QPoint TrayClickPos() const { return m_clickPos; }

    /// Shows a fresh modal about box.
    Q_INVOKABLE void ShowAboutBox();

    /// The state of a newly placed control: not visible, tip "Vandrillo", no icon.
    Q_INVOKABLE void InitProperties();
    /// Reads "TrayVisible", "TrayIcon" and "TrayTip", in that order, from `bag`.
    Q_INVOKABLE void ReadProperties(Vandril::PropertyBag *bag);
    /// Writes "TrayVisible", "TrayIcon" and "TrayTip", in that order, into `bag`.
    Q_INVOKABLE void WriteProperties(Vandril::PropertyBag *bag) const;

    /// True while the icon is in the notification area and the control filters its events.
    bool isInstalled() const { return m_installed; }
    /// The icon's id within the control's window; always 0.
    int iconId() const { return m_iconId; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void TrayIconChanged();
    void TrayTipChanged();
    void TrayVisibleChanged();

    void MouseMove(int Id);
    void MouseDown(short Button, int Id);
    void MouseUp(short Button, int Id);
    void MouseDblClick(short Button, int Id);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    static Services withSystemDefaults(Services services);
    bool runMode() const;
    QSize sideSize() const;
    void AddTrayIcon(QObject *window, int id, const QString &tip, const Vandril::PictureRef &icon);
    void RemoveTrayIcon(QObject *window, int id);
    bool TrayWndProc(QObject *window, QEvent *event);
    void RaiseTrayEvent(qintptr mouseMessage, int id);

    Vandril::HostSite *m_site;
    Services m_services;
    bool m_visible = false;
    const int m_iconId = 0;
    QString m_tip;
    QObject *m_window;
    Vandril::PictureRef m_icon;
    bool m_installed = false;
    QPoint m_clickPos;
};
