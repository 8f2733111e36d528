#pragma once

// A loaded database for the CSV tests: a program folder with a schema written
// by the test, a HotSync home with one user, and a main controller that has
// loaded the section the way a click in the chooser does.

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "TestValues.h"

#include "RecordingLauncher.h"
#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/PalmUserChoice.h"
#include "app/SettingsStore.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

struct CsvTestField
{
    QString name;
    QString caption;
    int type = Ledgerly::FieldText;
    QString role = QStringLiteral("False");
};

class CsvTestDatabase
{
public:
    CsvTestDatabase()
        : m_program(m_dir.path() + QStringLiteral("/program"))
        , m_home(m_dir.path() + QStringLiteral("/home"))
        , m_out(m_dir.path() + QStringLiteral("/out"))
        , m_server(m_home)
        , m_settings(m_dir.path() + QStringLiteral("/settings"))
        , m_registry(m_dir.path() + QStringLiteral("/registry.json"))
        , m_controller({m_server, m_settings, prompter, m_registry, m_launcher})
    {
        QDir().mkpath(m_program);
        QDir().mkpath(m_out);
        m_server.addUser(QStringLiteral("Test User"), {}, false, true);
        Ledgerly::MainState &state = m_controller.state();
        state.ProgramFolder = m_program;
        state.AppName = QStringLiteral("Ledgerly");
        m_controller.users().useUser(QStringLiteral("Test User"));
    }

    bool valid() const { return m_dir.isValid(); }
    Ledgerly::MainController &controller() { return m_controller; }
    QString outFolder() const { return m_out; }
    QString out(const QString &name) const { return m_out + QLatin1Char('/') + name; }
    QString userFolder() { return m_server.GetUserFolder(QStringLiteral("Test User")); }
    QString databasePath(const QString &section)
    {
        return userFolder() + QLatin1Char('/') + section + QStringLiteral(".pdb");
    }

    // Databasename, a caption key per field, then a role key per field; the
    // last role keys can be left out to get an odd key count.
    void writeSchema(const QString &section, const QList<CsvTestField> &fields, int omitRoles = 0)
    {
        QString ini = QLatin1Char('[') + section + QStringLiteral("]\r\nDatabasename=") + section +
                      QStringLiteral("\r\n");
        for (const CsvTestField &f : fields)
            ini += f.name + QLatin1Char('=') + f.caption + QStringLiteral("\r\n");
        for (qsizetype i = 0; i < fields.size() - omitRoles; ++i)
            ini += fields.at(i).name + QStringLiteral("Hide=") + fields.at(i).role +
                   QStringLiteral("\r\n");
        writeFile(m_controller.state().schemaFile(), ini.toUtf8());
    }

    // Writes the database file: the given fields and one record per row of
    // values (by field position).
    void writeDatabase(const QString &section, const QList<CsvTestField> &fields,
                       const QList<QVariantList> &records)
    {
        Ledgerly::PdbDatabase database;
        for (const CsvTestField &f : fields)
            database.Table().AddField(f.name, f.type);
        for (const QVariantList &values : records) {
            Ledgerly::PdbRecord &record = database.Table().AddRecord();
            for (qsizetype j = 0; j < values.size(); ++j)
                record.setValue(int(j), values.at(j));
        }
        database.SaveAs(databasePath(section));
    }

    // Selects the section in the chooser, which loads it into the table.
    bool load(const QString &section)
    {
        m_controller.BuildCatalogue();
        const int index = m_controller.catalogue().indexOf(section);
        if (index < 0)
            return false;
        return m_controller.openSection(index);
    }

    ScriptedPrompter prompter;

private:
    QTemporaryDir m_dir;
    QString m_program;
    QString m_home;
    QString m_out;
    Ledgerly::RecordServer m_server;
    Ledgerly::QSettingsStore m_settings;
    Ledgerly::FileRegistry m_registry;
    RecordingLauncher m_launcher;
    Ledgerly::MainController m_controller;
};
