// SPDX-License-Identifier: GPL-3.0-or-later
#include "controlfixture.h"
#include "frmabout.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestVandrilloPersistence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initialProperties();
    void readAppliesVisibleFirst();
    void missingKeysGetDefaults();
    void keysIgnoreCase_data();
    void keysIgnoreCase();
    void saveAndLoadKeepTheIcon();
    void neverAssignedIconSavesNoPicture();
    void designModeKeepsSavedVisibility();
    void factoryPathStartsFromBagOrDefaults();
    void aboutBoxIsFreshEachTime();
    void aboutBoxSurvivesItsHostGoing();
    void aboutBoxButtonsAndMailLink();
};

void TestVandrilloPersistence::initialProperties()
{
    ControlFixture f;
    QSignalSpy icon(f.control.data(), &Vandrillo::TrayIconChanged);
    f.control->InitProperties();
    QVERIFY(!f.control->TrayVisible());
    QCOMPARE(f.control->TrayTip(), QStringLiteral("Vandrillo"));
    QVERIFY(!f.control->TrayIcon()); // imgVandrillo is a bitmap: not taken
    QCOMPARE(icon.count(), 0);
    QVERIFY(f.calls->isEmpty());
}

void TestVandrilloPersistence::readAppliesVisibleFirst()
{
    ControlFixture f;
    const Vandril::PictureRef picture = ControlFixture::icon();
    Vandril::PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TrayTip"), QStringLiteral("Salvato"));
    bag.WriteProperty(QStringLiteral("TrayIcon"), QVariant::fromValue(picture));
    bag.WriteProperty(QStringLiteral("TrayVisible"), true);
    f.control->ReadProperties(&bag);

    // Shown first with nothing, then given its picture and tip.
    QCOMPARE(f.commands(),
             (QList<ShellCall::Command>{ShellCall::Add, ShellCall::Modify, ShellCall::Modify}));
    QCOMPARE(f.calls->at(0).data.uFlags, 1u);
    QCOMPARE(f.calls->at(1).data.uFlags, 2u);
    QCOMPARE(f.calls->at(2).data.uFlags, 4u);
    QCOMPARE(f.calls->at(2).data.szTip, QStringLiteral("Salvato").leftJustified(64));
    QCOMPARE(f.control->TrayIcon(), picture);
}

void TestVandrilloPersistence::missingKeysGetDefaults()
{
    ControlFixture f;
    f.control->setTrayTip(QStringLiteral("prima"));
    Vandril::PropertyBag bag; // no "TrayTip", and a saved picture that is no icon
    bag.WriteProperty(QStringLiteral("TrayIcon"), QVariant::fromValue(ControlFixture::bitmap()));
    f.control->ReadProperties(&bag);
    QCOMPARE(f.control->TrayTip(), QStringLiteral("Vandrillo"));
    QVERIFY(!f.control->TrayVisible());
    QVERIFY(!f.control->TrayIcon());
}

void TestVandrilloPersistence::keysIgnoreCase_data()
{
    QTest::addColumn<QString>("visibleKey");
    QTest::addColumn<QString>("tipKey");
    QTest::newRow("lower") << QStringLiteral("trayvisible") << QStringLiteral("traytip");
    QTest::newRow("upper") << QStringLiteral("TRAYVISIBLE") << QStringLiteral("TRAYTIP");
    QTest::newRow("mixed") << QStringLiteral("tRaYvIsIbLe") << QStringLiteral("TrayTIP");
}

void TestVandrilloPersistence::keysIgnoreCase()
{
    QFETCH(QString, visibleKey);
    QFETCH(QString, tipKey);
    ControlFixture f;
    Vandril::PropertyBag bag;
    bag.WriteProperty(visibleKey, true);
    bag.WriteProperty(tipKey, QStringLiteral("letto"));
    f.control->ReadProperties(&bag);
    QVERIFY(f.control->TrayVisible());
    QCOMPARE(f.control->TrayTip(), QStringLiteral("letto"));

    // Saving into the same bag replaces those entries instead of adding new ones.
    f.control->setTrayTip(QStringLiteral("nuovo"));
    f.control->WriteProperties(&bag);
    QCOMPARE(bag.keys().size(), 3);
    QCOMPARE(bag.ReadProperty(tipKey).toString(), QStringLiteral("nuovo"));
}

void TestVandrilloPersistence::saveAndLoadKeepTheIcon()
{
    const Vandril::PictureRef picture = ControlFixture::icon();
    Vandril::PropertyBag bag;
    {
        ControlFixture saved;
        saved.control->setTrayIcon(picture);
        saved.control->setTrayTip(QStringLiteral("Una prova"));
        saved.control->setTrayVisible(true);
        saved.control->WriteProperties(&bag);
    }
    QCOMPARE(bag.keys(), (QStringList{QStringLiteral("TrayVisible"), QStringLiteral("TrayIcon"),
                                      QStringLiteral("TrayTip")}));

    ControlFixture loaded;
    loaded.control->ReadProperties(&bag);
    QCOMPARE(loaded.control->TrayIcon(), picture); // the same object, by reference
    QCOMPARE(loaded.control->TrayTip(), QStringLiteral("Una prova"));
    QVERIFY(loaded.control->TrayVisible());
    QVERIFY(loaded.control->isInstalled());
}

void TestVandrilloPersistence::neverAssignedIconSavesNoPicture()
{
    ControlFixture f;
    f.control->InitProperties();
    Vandril::PropertyBag bag;
    f.control->WriteProperties(&bag);
    QVERIFY(bag.contains(QStringLiteral("TrayIcon")));
    const QVariant stored = bag.ReadProperty(QStringLiteral("TrayIcon"));
    QCOMPARE(stored.metaType(), QMetaType::fromType<Vandril::PictureRef>());
    QVERIFY(!stored.value<Vandril::PictureRef>());
    QCOMPARE(bag.ReadProperty(QStringLiteral("TrayVisible")), QVariant(false));
    QCOMPARE(bag.ReadProperty(QStringLiteral("TrayTip")), QVariant(QStringLiteral("Vandrillo")));
}

void TestVandrilloPersistence::designModeKeepsSavedVisibility()
{
    ControlFixture designer(false);
    Vandril::PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TrayVisible"), true);
    designer.control->ReadProperties(&bag);
    QVERIFY(designer.calls->isEmpty());
    QVERIFY(designer.control->TrayVisible());

    Vandril::PropertyBag saved;
    designer.control->WriteProperties(&saved);
    QCOMPARE(saved.ReadProperty(QStringLiteral("TrayVisible")), QVariant(true));
    designer.host.reset();
    QVERIFY(designer.calls->isEmpty()); // nothing to remove at the end either
}

void TestVandrilloPersistence::factoryPathStartsFromBagOrDefaults()
{
    TestSite designer;
    designer.userMode = false; // keeps the real notification area out of it
    QWidget host;
    Vandrillo *fresh = Vandrillo::create(&host, &designer, nullptr);
    QCOMPARE(fresh->parentWidget(), &host);
    QCOMPARE(fresh->TrayTip(), QStringLiteral("Vandrillo"));

    Vandril::PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TrayTip"), QStringLiteral("dal salvataggio"));
    bag.WriteProperty(QStringLiteral("TrayVisible"), true);
    Vandrillo *loaded = Vandrillo::create(&host, &designer, &bag);
    QCOMPARE(loaded->TrayTip(), QStringLiteral("dal salvataggio"));
    QVERIFY(loaded->TrayVisible());
}

void TestVandrilloPersistence::aboutBoxIsFreshEachTime()
{
    ControlFixture f;
    QList<QPointer<QDialog>> boxes;
    QStringList titles;
    QStringList mails;
    QList<QObject *> parents;
    f.onModal = [&](QDialog &box) {
        boxes.append(&box);
        titles.append(box.windowTitle());
        auto *mail = box.findChild<QLabel *>(QStringLiteral("lblMail"));
        mails.append(mail ? mail->text() : QString());
        if (mail)
            mail->setText(QStringLiteral("cambiato")); // a reused box would keep this
        parents.append(box.parentWidget());
        return 0;
    };

    f.control->ShowAboutBox();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.first().isNull());                               // unloaded when it closed
    QVERIFY(QMetaObject::invokeMethod(f.control, "ShowAboutBox")); // as a host calls it
    QCOMPARE(boxes.size(), 2);
    QVERIFY(boxes.last().isNull());
    QCOMPARE(titles, QStringList(2, QStringLiteral("Controllo Vandrillo")));
    QCOMPARE(mails, QStringList(2, QStringLiteral("vandrillo@example.org")));
    QCOMPARE(parents, (QList<QObject *>(2, f.control.data())));
}

void TestVandrilloPersistence::aboutBoxSurvivesItsHostGoing()
{
    ControlFixture f;
    f.onModal = [&](QDialog &) {
        f.host.reset(); // the host window ends while the box is open
        return 0;
    };
    f.control->ShowAboutBox();
    QVERIFY(f.control.isNull());
}

void TestVandrilloPersistence::aboutBoxButtonsAndMailLink()
{
    ControlFixture f;
    bool openAfterMail = false;
    int result = -1;
    f.onModal = [&](QDialog &dialog) {
        auto &box = static_cast<frmAbout &>(dialog);
        box.show();
        QTest::mouseClick(box.lblMail, Qt::LeftButton);
        openAfterMail = box.isVisible();
        QTest::mouseClick(box.cmdOK, Qt::LeftButton);
        result = box.isVisible() ? -1 : box.result();
        return result;
    };
    f.control->ShowAboutBox();
    QCOMPARE(f.openedUrls, QList<QUrl>{QUrl(QStringLiteral("mailto:vandrillo@example.org"))});
    QVERIFY(openAfterMail);
    QCOMPARE(result, int(QDialog::Accepted));
}

QTEST_MAIN(TestVandrilloPersistence)
#include "tst_vandrillopersistence.moc"
