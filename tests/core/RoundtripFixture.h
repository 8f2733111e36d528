#pragma once

// A program folder, a HotSync home with one user and a controller wired to a
// scripted prompter, all inside a temporary folder. Used by the load, save,
// column and create tests.

#include "RecordingLauncher.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "TestValues.h"
#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/PalmUserChoice.h"
#include "app/SettingsStore.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct SchemaField
{
    QString name;
    int type;
    QString caption;
    QString role; // value of <name>Hide; a null string leaves the key out
};

class RoundtripFixture
{
public:
    RoundtripFixture()
    {
        m_program = m_dir.path() + QStringLiteral("/program");
        QDir().mkpath(m_program);
        server = std::make_unique<Ledgerly::RecordServer>(m_dir.path() + QStringLiteral("/home"));
        server->addUser(QStringLiteral("Alice"));
        settings =
            std::make_unique<Ledgerly::QSettingsStore>(m_dir.path() + QStringLiteral("/settings"));
        registry = std::make_unique<Ledgerly::FileRegistry>(m_dir.path() +
                                                            QStringLiteral("/registry.json"));
        controller = std::make_unique<Ledgerly::MainController>(
            Ledgerly::MainController::Services{*server, *settings, prompter, *registry, launcher});
        state().ProgramFolder = m_program;
        state().AppName = QStringLiteral("Testledger");
        controller->users().useUser(QStringLiteral("Alice"));
    }

    Ledgerly::MainState &state() { return controller->state(); }
    Ledgerly::GridModel &grid() { return controller->grid(); }
    QString programFolder() const { return m_program; }
    QString userFolder() { return server->GetUserFolder(QStringLiteral("Alice")); }
    QString pdbPath(const QString &stem)
    {
        return userFolder() + QLatin1Char('/') + stem + QStringLiteral(".pdb");
    }

    // One schema section: Databasename, caption keys, then role keys.
    static QString section(const QString &stem, const QList<SchemaField> &fields)
    {
        QString text = QLatin1Char('[') + stem + QStringLiteral("]\nDatabasename=") + stem +
                       QStringLiteral(" display\n");
        for (const SchemaField &f : fields)
            text += f.name + QLatin1Char('=') + f.caption + QLatin1Char('\n');
        for (const SchemaField &f : fields)
            if (!f.role.isNull())
                text += f.name + QStringLiteral("Hide=") + f.role + QLatin1Char('\n');
        return text + QLatin1Char('\n');
    }

    void writeSchema(const QString &text)
    {
        QVERIFY(writeFile(state().schemaFile(), text.toLatin1()));
        controller->BuildCatalogue();
    }

    void writeDatabase(const QString &stem, const QList<SchemaField> &fields,
                       const QList<QVariantList> &records)
    {
        Ledgerly::PdbDatabase db;
        for (const SchemaField &f : fields)
            db.Table().AddField(f.name, f.type);
        for (const QVariantList &values : records) {
            Ledgerly::PdbRecord &record = db.Table().AddRecord();
            for (int i = 0; i < values.size(); ++i)
                record.setValue(i, values.at(i));
        }
        db.SaveAs(pdbPath(stem));
    }

    // Chooses the section in the database chooser, like a click.
    void open(const QString &stem)
    {
        const int index = int(controller->catalogue().sections().indexOf(stem));
        QVERIFY2(index >= 0, qPrintable(stem));
        controller->openSection(index);
    }

    std::unique_ptr<Ledgerly::PdbDatabase> read(const QString &path)
    {
        return server->OpenDatabase(path);
    }

    // The fields and values of a database file as text, for comparisons that
    // leave out the header's times and modification number.
    QString dump(const QString &path)
    {
        const auto db = read(path);
        QString out;
        const Ledgerly::PdbFieldList &fields = db->Fields();
        for (int f = 0; f < fields.Count(); ++f)
            out += fields.Item(f).Name + QLatin1Char(':') + QString::number(fields.Item(f).Type) +
                   QLatin1Char(' ');
        out += QLatin1Char('\n');
        for (int r = 0; r < db->Table().RecordCount(); ++r) {
            for (int f = 0; f < fields.Count(); ++f)
                out += describe(db->Table().Record(r).value(f)) + QLatin1Char('|');
            out += QLatin1Char('\n');
        }
        return out;
    }

    static QString describe(const QVariant &v)
    {
        if (!v.isValid())
            return QStringLiteral("null");
        switch (v.typeId()) {
        case QMetaType::QByteArray:
            return QStringLiteral("bytes:") + QString::fromLatin1(v.toByteArray().toHex());
        case QMetaType::QDateTime:
            return QStringLiteral("time:") + v.toDateTime().toString(Qt::ISODate);
        case QMetaType::Bool:
            return v.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
        default:
            return QStringLiteral("text:") + v.toString();
        }
    }

    ScriptedPrompter prompter;
    std::unique_ptr<Ledgerly::RecordServer> server;
    std::unique_ptr<Ledgerly::QSettingsStore> settings;
    std::unique_ptr<Ledgerly::FileRegistry> registry;
    RecordingLauncher launcher;
    std::unique_ptr<Ledgerly::MainController> controller;

private:
    QTemporaryDir m_dir;
    QString m_program;
};
