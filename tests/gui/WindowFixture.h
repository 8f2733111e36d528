#pragma once

// A complete main window on temporary files: a program folder with its two
// INI files, a HotSync home with users and databases, settings and registry
// in the same temporary folder, and recorders instead of real programs.

#include "HotSyncHomeSetup.h"
#include "RecordingLauncher.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "app/DocumentOpener.h"
#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/Registry.h"
#include "app/SettingsStore.h"
#include "app/widgets/frmMain.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"

#include <QDialog>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

class RecordingOpener : public Ledgerly::DocumentOpener
{
public:
    bool succeed = true;
    QStringList opened;
    bool openDocument(const QString &path, bool) override
    {
        opened << path;
        return succeed;
    }
};

struct WindowFixture
{
    QTemporaryDir dir;
    QString programFolder;
    QString homeFolder;
    std::unique_ptr<Ledgerly::RecordServer> server;
    std::unique_ptr<Ledgerly::QSettingsStore> settings;
    std::unique_ptr<Ledgerly::FileRegistry> registry;
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    RecordingOpener opener;
    std::unique_ptr<Ledgerly::MainController> controller;
    std::unique_ptr<Ledgerly::frmMain> window;
    // What the window showed modally, in order (object names).
    QStringList modalShown;
    std::function<void(QDialog &)> onModal;

    static QString appName() { return QStringLiteral("TestLedger"); }

    static QByteArray defaultLedgerlyIni()
    {
        return "[DesktopName]\r\nDesktopName=TestLedger\r\n"
               "[DeveloperName]\r\nDeveloperName=Test Makers\r\n"
               "[ContactEmail]\r\nContactEmail=help@example.org\r\n"
               "[Copyright]\r\nCopyright=2026 Test Makers\r\n"
               "[VersionSetting]\r\nVersion=Version 9.9\r\n"
               "[HelpFiles]\r\nHelpFile=Manual.html\r\n"
               "[ImageFiles]\r\nSkin=missing-skin.png\r\nIcon=broken-icon.png\r\n"
               "Splash=broken-logo.png\r\n"
               "[Support]\r\nHTML=<p>Ask <b>us</b></p>\r\n";
    }

    static QByteArray defaultSchema()
    {
        return "[Fruit]\r\nDatabasename=Fruit Basket\r\nName=Fruit Name\r\nPaid=Paid\r\n"
               "NameHide=False\r\nPaidHide=False\r\n"
               "[Veg]\r\nDatabasename=Vegetables\r\nName=Veg Name\r\nNameHide=False\r\n";
    }

    explicit WindowFixture(const QStringList &users = {QStringLiteral("Ann"),
                                                       QStringLiteral("Bob")},
                           const QByteArray &ledgerlyIni = defaultLedgerlyIni())
    {
        QStandardPaths::setTestModeEnabled(true);
        programFolder = dir.filePath(QStringLiteral("program"));
        homeFolder = dir.filePath(QStringLiteral("home"));
        QDir().mkpath(programFolder);
        if (!ledgerlyIni.isNull())
            writeFile(programFolder + QStringLiteral("/Ledgerly.ini"), ledgerlyIni);
        writeFile(programFolder + QStringLiteral("/QuayDB.ini"), defaultSchema());
        // Present but not a picture: start-up must carry on without it.
        writeFile(programFolder + QStringLiteral("/broken-icon.png"), "not a picture");
        writeFile(programFolder + QStringLiteral("/broken-logo.png"), "not a picture");

        createHotSyncHome(homeFolder, users);
        server = std::make_unique<Ledgerly::RecordServer>(homeFolder);
        for (const QString &name : users) {
            writeDatabase(name, QStringLiteral("Fruit"), {{QStringLiteral("Apple"), true}});
            writeDatabase(name, QStringLiteral("Veg"), {{QStringLiteral("Leek"), false}});
        }
        settings =
            std::make_unique<Ledgerly::QSettingsStore>(dir.filePath(QStringLiteral("settings")));
        registry =
            std::make_unique<Ledgerly::FileRegistry>(dir.filePath(QStringLiteral("registry.json")));
    }

    QString databasePath(const QString &user, const QString &section) const
    {
        return userFolder(user) + QLatin1Char('/') + section + QStringLiteral(".pdb");
    }

    // Asked of a separate component: the window's own one remembers the
    // last user it was asked about.
    QString userFolder(const QString &user) const
    {
        return Ledgerly::RecordServer(homeFolder).GetUserFolder(user);
    }

    void writeDatabase(const QString &user, const QString &section,
                       const QList<std::pair<QString, bool>> &records)
    {
        Ledgerly::PdbDatabase db;
        db.Table().AddField(QStringLiteral("Name"), 0);
        if (section == QLatin1String("Fruit"))
            db.Table().AddField(QStringLiteral("Paid"), 1);
        for (const auto &[name, paid] : records) {
            Ledgerly::PdbRecord &r = db.Table().AddRecord();
            r.setValue(0, name);
            if (section == QLatin1String("Fruit"))
                r.setValue(1, paid);
        }
        QDir().mkpath(userFolder(user));
        db.SaveAs(databasePath(user, section));
    }

    void setSetting(const QString &key, const QString &value)
    {
        settings->setValue(appName(), QStringLiteral("HotSync"), key, value);
    }
    QString setting(const QString &key) const
    {
        return settings->value(appName(), QStringLiteral("HotSync"), key,
                               QStringLiteral("<missing>"));
    }

    Ledgerly::frmMain &create()
    {
        controller = std::make_unique<Ledgerly::MainController>(
            Ledgerly::MainController::Services{*server, *settings, prompter, *registry, launcher});
        window = std::make_unique<Ledgerly::frmMain>(
            Ledgerly::frmMain::Services{*controller, prompter, launcher, opener, programFolder});
        window->setModalShower([this](QDialog &dialog) {
            modalShown << dialog.objectName();
            if (onModal)
                onModal(dialog);
        });
        return *window;
    }

    Ledgerly::frmMain &start()
    {
        create();
        window->show();
        window->Form_Load();
        return *window;
    }
};
