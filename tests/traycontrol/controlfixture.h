// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordingshell.h"
#include "vandrillo.h"

#include <QDialog>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

// A host site whose user mode a test can switch.
class TestSite : public Vandril::HostSite
{
public:
    bool userMode = true;
    bool ambientUserMode() const override { return userMode; }
};

// A host window with one control on it, a recording notification area, and recorded URL
// and modal requests.
struct ControlFixture
{
    TestSite site;
    std::shared_ptr<QList<ShellCall>> calls = std::make_shared<QList<ShellCall>>();
    QList<QUrl> openedUrls;
    // Runs in place of the modal loop; by default it only lets the dialog go.
    std::function<int(QDialog &)> onModal = [](QDialog &) { return 0; };
    std::unique_ptr<QWidget> host = std::make_unique<QWidget>();
    QPointer<Vandrillo> control;

    ControlFixture(const ControlFixture &) = delete;
    ControlFixture &operator=(const ControlFixture &) = delete;

    explicit ControlFixture(bool userMode = true)
    {
        site.userMode = userMode;
        Vandrillo::Services services;
        services.shell = std::make_unique<RecordingShell>(calls);
        services.openUrl = [this](const QUrl &url) {
            openedUrls.append(url);
            return true;
        };
        services.runModal = [this](QDialog &dialog) { return onModal(dialog); };
        control = new Vandrillo(&site, std::move(services), host.get());
    }

    QList<ShellCall::Command> commands() const
    {
        QList<ShellCall::Command> result;
        for (const ShellCall &call : *calls)
            result.append(call.command);
        return result;
    }

    static Vandril::PictureRef icon(const QColor &color = Qt::red)
    {
        QPixmap pixmap(16, 16);
        pixmap.fill(color);
        return Vandril::makePicture(Vandril::Picture::Icon, QIcon(pixmap));
    }

    static Vandril::PictureRef bitmap()
    {
        QPixmap pixmap(16, 15);
        pixmap.fill(Qt::blue);
        return Vandril::makePicture(Vandril::Picture::Bitmap, QIcon(pixmap));
    }
};
