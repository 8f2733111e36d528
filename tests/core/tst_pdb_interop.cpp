#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/PdbTime.h"
#include "database/RecordServer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

// Files are checked against Debian's independent Palm database container
// reader (Palm::PDB with the raw handler), in both directions.
class TestPdbInterop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void perlReadsOurFile();
    void weReadPerlFile();

private:
    QString perl(const QString &script, const QStringList &args, bool *ok);
};

void TestPdbInterop::initTestCase()
{
    QProcess probe;
    probe.start(QStringLiteral("perl"), {u"-MPalm::PDB"_qs, u"-MPalm::Raw"_qs, u"-e1"_qs});
    if (!probe.waitForFinished(20000) || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0)
        QSKIP("perl with Palm::PDB (libpalm-pdb-perl) is not installed");
}

QString TestPdbInterop::perl(const QString &script, const QStringList &args, bool *ok)
{
    QProcess p;
    p.start(QStringLiteral("perl"),
            QStringList{u"-MPalm::PDB"_qs, u"-MPalm::Raw"_qs, u"-e"_qs, script} + args);
    *ok = p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!*ok)
        qWarning("%s", p.readAllStandardError().constData());
    return QString::fromLatin1(p.readAllStandardOutput());
}

void TestPdbInterop::perlReadsOurFile()
{
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("Item"), FieldText);
    db.Table().AddField(QStringLiteral("Done"), FieldYesNo);
    db.Table().AddField(QStringLiteral("When"), FieldDate);
    db.Table().AddField(QStringLiteral("Photo"), FieldPicture);
    for (int i = 0; i < 3; ++i) {
        PdbRecord &r = db.Table().AddRecord();
        r.setValue(0, QStringLiteral("Thing %1 é").arg(i));
        r.setValue(1, i % 2 == 0);
        if (i != 1)
            r.setValue(2, QDateTime(QDate(1999, 12, 31 - i), QTime(0, 0), Qt::UTC));
        r.setValue(3, QByteArray("BM") + QByteArray(i * 10, char(i)));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Inventory.pdb"));
    db.SaveAs(path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();

    bool ok = false;
    const QString out = perl(
        QStringLiteral(
            "my $p = Palm::PDB->new; $p->Load($ARGV[0]) or die;"
            "print join(\"\\n\", $p->{name}, $p->{type}, $p->{creator}, scalar @{$p->{records}},"
            " unpack('H*', $p->{appinfo})), \"\\n\";"
            "print $_->{id}, ' ', unpack('H*', $_->{data}), \"\\n\" for @{$p->{records}};"),
        {path}, &ok);
    QVERIFY(ok);
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5 + 3);
    QCOMPARE(lines.at(0), u"Inventory"_qs);
    QCOMPARE(lines.at(1), u"DATA"_qs);
    QCOMPARE(lines.at(2), u"SkDB"_qs);
    QCOMPARE(lines.at(3), u"3"_qs);
    // The raw blocks perl sees are exactly the ones the record list points at.
    auto u32 = [&](int at) {
        return int((quint8(bytes[at]) << 24) | (quint8(bytes[at + 1]) << 16) |
                   (quint8(bytes[at + 2]) << 8) | quint8(bytes[at + 3]));
    };
    QList<int> offsets;
    for (int i = 0; i < 3; ++i)
        offsets.append(u32(78 + 8 * i));
    offsets.append(int(bytes.size()));
    const int fieldBlock = u32(52);
    QCOMPARE(lines.at(4),
             QString::fromLatin1(bytes.mid(fieldBlock, offsets.at(0) - fieldBlock).toHex()));
    for (int i = 0; i < 3; ++i) {
        const QString expected = QStringLiteral("%1 %2").arg(i + 1).arg(QString::fromLatin1(
            bytes.mid(offsets.at(i), offsets.at(i + 1) - offsets.at(i)).toHex()));
        QCOMPARE(lines.at(5 + i), expected);
    }
}

void TestPdbInterop::weReadPerlFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FromPerl.pdb"));
    bool ok = false;
    // Field block: version 1, three fields (text "Item", yes/no "Done", date "When").
    // Record 2 stops after its first field; record 3 has a null name.
    perl(QStringLiteral("my $p = Palm::Raw->new; $p->{name} = 'FromPerl'; $p->{type} = 'DATA';"
                        "$p->{creator} = 'SkDB';"
                        "$p->{appinfo} = pack('n n nCa4 nCa4 nCa4', 1, 3, 0, 4, 'Item', 1, 4, "
                        "'Done', 2, 4, 'When');"
                        "my @data = (pack('na* nC nN', 4, 'Lamp', 1, 1, 4, 3029443200),"
                        " pack('na*', 5, \"Caf\\xe9!\"), pack('n nC n', 0xFFFF, 1, 0, 0xFFFF));"
                        "for my $d (@data) { my $r = $p->append_Record; $r->{data} = $d; }"
                        "$p->Write($ARGV[0]) or die;"),
         {path}, &ok);
    QVERIFY(ok);
    const auto db = RecordServer(dir.path()).OpenDatabase(path);
    QCOMPARE(db->header().name, QByteArray("FromPerl"));
    QCOMPARE(db->Fields().Count(), 3);
    QCOMPARE(db->Fields().Item(2).Name, u"When"_qs);
    QCOMPARE(db->Fields().Item(2).Type, int(FieldDate));
    QCOMPARE(db->Table().RecordCount(), 3);
    const PdbTable &t = db->Table();
    QCOMPARE(t.Record(0).value(0), QVariant(u"Lamp"_qs));
    QCOMPARE(t.Record(0).value(1), QVariant(true));
    QCOMPARE(t.Record(0).value(2), QVariant(PdbTime::fromSeconds(3029443200u)));
    QCOMPARE(t.Record(0).value(2).toDateTime().date(), QDate(1999, 12, 31));
    QCOMPARE(t.Record(1).value(0), QVariant(u"Café!"_qs));
    QVERIFY(!t.Record(1).value(1).isValid());
    QVERIFY(!t.Record(2).value(0).isValid());
    QCOMPARE(t.Record(2).value(1), QVariant(false));
    QVERIFY(t.Record(0).uniqueId() != t.Record(1).uniqueId());
}

QTEST_GUILESS_MAIN(TestPdbInterop)
#include "tst_pdb_interop.moc"
