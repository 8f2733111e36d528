#include "catalogue/IniDocument.h"
#include "catalogue/IniEdit.h"
#include "catalogue/IniFile.h"
#include "catalogue/IniText.h"
#include "catalogue/SchemaEdit.h"

#include <QTest>

#include <functional>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

using Edit = std::function<QString(IniText &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

IniText textOf(const QByteArray &bytes)
{
    IniText text;
    QString problem;
    if (!IniText::fromBytes(bytes, &text, &problem))
        qFatal("fixture does not load: %s", qPrintable(problem));
    return text;
}

const QByteArray schemaCrLf = "; catalogue\r\n"
                              "\r\n"
                              "[Fruit]\r\n"
                              "Databasename = Fruit Basket\r\n"
                              "Name=Fruit Name\r\n"
                              "Paid = \"Paid?\"  \r\n"
                              "NameHide=False\r\n"
                              "PaidHide=0\r\n"
                              "; keep me\r\n"
                              "\r\n"
                              "[Veg]\r\n"
                              "Databasename=Vegetables\r\n"
                              "Name=Veg Name\r\n"
                              "NameHide=False\r\n";

} // namespace

class TestIniText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unchangedBytes_data();
    void unchangedBytes();
    void edits_data();
    void edits();
};

void TestIniText::unchangedBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::newRow("CR LF with comments and blank lines") << schemaCrLf << true;
    QTest::newRow("LF, unknown section and key without =")
        << QByteArray("[Other]\nflag\n  spaced = value  \n[Fruit]\nDatabasename=F\n") << true;
    QTest::newRow("mixed line ends, no final one") << QByteArray("[A]\r\nx=1\ny=2\rz=3") << true;
    QTest::newRow("Windows-1252 text") << QByteArray("[Caf\xE9]\r\nName=cr\xE8me \x80\r\n") << true;
    QTest::newRow("undefined Windows-1252 byte") << QByteArray("[A]\r\nx=\x81\x8D\r\n") << true;
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF[A]\nx=caf\xC3\xA9\n") << true;
    QTest::newRow("UTF-8 mark before Windows-1252")
        << QByteArray("\xEF\xBB\xBF[A]\nx=caf\xE9\n") << true;
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE[\0A\0]\0\r\0\n\0x\0=\0\xE9\0", 18) << true;
    QTest::newRow("NUL inside a line") << QByteArray("[A]\nx=a\0b\ny=2\n", 14) << true;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n\n") << true;
    QTest::newRow("UTF-16 cut in a character is refused")
        << QByteArray("\xFF\xFE[\0A\0]", 7) << false;
}

void TestIniText::unchangedBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    IniText text;
    QString problem;
    QCOMPARE(IniText::fromBytes(bytes, &text, &problem), loads);
    if (!loads) {
        QVERIFY(problem.contains(u"UTF-16"_s));
        return;
    }
    QByteArray written;
    QVERIFY2(text.toBytes(&written, &problem), qPrintable(problem));
    QCOMPARE(written, bytes);
    // The editor's view of the file is the reader's, section by section.
    const QStringList sections = listIniSectionsFromBytes(bytes);
    QCOMPARE(listIniSections(text.document()), sections);
    for (const QString &section : sections)
        QCOMPARE(listIniKeys(text.document(), section), listIniKeysFromBytes(bytes, section));
}

void TestIniText::edits_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QByteArray>("after"); // empty: refused, bytes unchanged

    const QByteArray s = schemaCrLf;
    auto replaced = [&](const char *from, const char *to) {
        QByteArray out = s;
        return out.replace(from, to);
    };

    QTest::newRow("caption keeps blanks and quotes")
        << s << Edit([](IniText &t) { return SchemaEdit::setCaption(t, 0, 1, u"Settled"_s); })
        << replaced("Paid = \"Paid?\"  ", "Paid = \"Settled\"  ");
    QTest::newRow("value with outer blanks is quoted")
        << s << Edit([](IniText &t) { return SchemaEdit::setCaption(t, 0, 0, u" Fruit "_s); })
        << replaced("Name=Fruit Name", "Name=\" Fruit \"");
    QTest::newRow("role written as the program's word is kept")
        << s << Edit([](IniText &t) { return SchemaEdit::setRole(t, 0, 0, FieldRole::Shown); })
        << s;
    QTest::newRow("role that only reads so becomes the word")
        << s << Edit([](IniText &t) { return SchemaEdit::setRole(t, 0, 1, FieldRole::Shown); })
        << replaced("PaidHide=0", "PaidHide=False");
    QTest::newRow("role changed") << s << Edit([](IniText &t) {
        return SchemaEdit::setRole(t, 0, 1, FieldRole::Calc);
    }) << replaced("PaidHide=0", "PaidHide=Calc");
    QTest::newRow("display name") << s << Edit([](IniText &t) {
        return SchemaEdit::setDisplayName(t, 1, u"Greens"_s);
    }) << replaced("Databasename=Vegetables", "Databasename=Greens");
    QTest::newRow("field added at the end of the captions")
        << s << Edit([](IniText &t) {
               return SchemaEdit::addField(t, 0, 2, u"Kg"_s, u"Weight"_s, FieldRole::Group);
           })
        << replaced("Paid = \"Paid?\"  \r\n", "Paid = \"Paid?\"  \r\nKg=Weight\r\n")
               .replace("PaidHide=0\r\n", "PaidHide=0\r\nKgHide=Group\r\n");
    QTest::newRow("field added first")
        << s << Edit([](IniText &t) {
               return SchemaEdit::addField(t, 1, 0, u"Kg"_s, u"Kg"_s, FieldRole::Shown);
           })
        << replaced("Vegetables\r\nName=Veg Name\r\nNameHide=False\r\n",
                    "Vegetables\r\nKg=Kg\r\nName=Veg Name\r\nNameHide=False\r\nKgHide=False\r\n");
    QTest::newRow("field added to a file without a final line end")
        << QByteArray("[A]\nDatabasename=A\nx=X\nxHide=False") << Edit([](IniText &t) {
               return SchemaEdit::addField(t, 0, 1, u"y"_s, u"Y"_s, FieldRole::Hidden);
           })
        << QByteArray("[A]\nDatabasename=A\nx=X\ny=Y\nxHide=False\nyHide=True");
    QTest::newRow("field renamed with its role key")
        << s << Edit([](IniText &t) { return SchemaEdit::renameField(t, 0, 1, u"Settled"_s); })
        << replaced("Paid = ", "Settled = ").replace("PaidHide", "SettledHide");
    QTest::newRow("field removed with its role key")
        << s << Edit([](IniText &t) { return SchemaEdit::removeField(t, 0, 0); })
        << replaced("Name=Fruit Name\r\n", "").replace("NameHide=False\r\nPaidHide", "PaidHide");
    QTest::newRow("fields moved with their role keys")
        << s << Edit([](IniText &t) { return SchemaEdit::moveField(t, 0, 1, 0); })
        << replaced("Name=Fruit Name\r\nPaid = \"Paid?\"  \r\nNameHide=False\r\nPaidHide=0",
                    "Paid = \"Paid?\"  \r\nName=Fruit Name\r\nPaidHide=0\r\nNameHide=False");
    QTest::newRow("database added after a blank line") << s << Edit([](IniText &t) {
        return SchemaEdit::addDatabase(t, u"Nuts"_s, u"Nut Store"_s,
                                       {{u"Kind"_s, u"Kind"_s, FieldRole::Group}});
    }) << s + "\r\n[Nuts]\r\nDatabasename=Nut Store\r\nKind=Kind\r\nKindHide=Group\r\n";
    QTest::newRow("database removed, comments after its keys kept")
        << s << Edit([](IniText &t) { return SchemaEdit::removeDatabase(t, 0); })
        << QByteArray("; catalogue\r\n\r\n; keep me\r\n\r\n[Veg]\r\nDatabasename=Vegetables\r\n"
                      "Name=Veg Name\r\nNameHide=False\r\n");
    QTest::newRow("database renamed")
        << s << Edit([](IniText &t) { return SchemaEdit::renameDatabase(t, 1, u"Greens"_s); })
        << replaced("[Veg]", "[Greens]");
    QTest::newRow("keys put in order: a forgotten role key")
        << QByteArray("[X]\r\nDatabasename=X\r\nA=A\r\nAHide=False\r\nB=B\r\n")
        << Edit([](IniText &t) { return SchemaEdit::putKeysInOrder(t, 0); })
        << QByteArray("[X]\r\nDatabasename=X\r\nA=A\r\nB=B\r\nAHide=False\r\nBHide=True\r\n");
    QTest::newRow("keys put in order: unreadable keys become comments")
        << QByteArray("[X]\nA=A\nZHide=1\nDatabasename=X\na=again\nAHide=Calc\n")
        << Edit([](IniText &t) { return SchemaEdit::putKeysInOrder(t, 0); })
        << QByteArray("[X]\nDatabasename=X\nA=A\nAHide=Calc\n; ZHide=1\n; a=again\n");
    QTest::newRow("generic key added after the section's last key")
        << s << Edit([](IniText &t) { return IniEdit::addKey(t, 0, u"Extra"_s, u"1"_s); })
        << replaced("PaidHide=0\r\n", "PaidHide=0\r\nExtra=1\r\n");

    QTest::newRow("refused: field added to keys out of order")
        << QByteArray("[X]\nDatabasename=X\nA=A\nAHide=False\nB=B\n") << Edit([](IniText &t) {
               return SchemaEdit::addField(t, 0, 2, u"C"_s, u"C"_s, FieldRole::Shown);
           })
        << QByteArray();
    QTest::newRow("refused: a field name that is another's role key") << s << Edit([](IniText &t) {
        return SchemaEdit::addField(t, 0, 2, u"nameHIDE"_s, u"x"_s, FieldRole::Shown);
    }) << QByteArray();
    QTest::newRow("refused: database name present, case ignored")
        << s << Edit([](IniText &t) { return SchemaEdit::addDatabase(t, u"veg"_s, {}, {}); })
        << QByteArray();
    QTest::newRow("refused: database name that is no file name")
        << s << Edit([](IniText &t) { return SchemaEdit::renameDatabase(t, 1, u"a/b"_s); })
        << QByteArray();
    QTest::newRow("refused: text Windows-1252 cannot hold")
        << s << Edit([](IniText &t) { return SchemaEdit::setCaption(t, 0, 0, u"\u4e2d"_s); })
        << QByteArray();
    QTest::newRow("refused: a line break in a value")
        << s << Edit([](IniText &t) { return SchemaEdit::setDisplayName(t, 0, u"a\nb"_s); })
        << QByteArray();
    QTest::newRow("refused: a key name with =")
        << s << Edit([](IniText &t) { return IniEdit::renameKey(t, 1, 1, u"a=b"_s); })
        << QByteArray();
}

void TestIniText::edits()
{
    QFETCH(QByteArray, before);
    QFETCH(Edit, edit);
    QFETCH(QByteArray, after);
    IniText text = textOf(before);
    const QString refusal = edit(text);
    QByteArray written;
    QString problem;
    QVERIFY2(text.toBytes(&written, &problem), qPrintable(problem));
    if (after.isEmpty()) {
        QVERIFY(!refusal.isEmpty());
        QCOMPARE(written, before);
        return;
    }
    QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
    QCOMPARE(written, after);
}

QTEST_GUILESS_MAIN(TestIniText)
#include "tst_initext.moc"
