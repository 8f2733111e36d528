#include "common/Windows1252.h"

#include <QTest>

using namespace Ledgerly;

// The code page both ways: every byte decodes to its own character and back.
class TestWindows1252 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownBytes_data();
    void knownBytes();
    void everyByteRoundTrips();
};

void TestWindows1252::knownBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("no bytes, empty text") << QByteArray() << QString();
    QTest::newRow("ASCII") << QByteArray("Cafe 12") << QStringLiteral("Cafe 12");
    QTest::newRow("euro sign") << QByteArray("\x80") << QStringLiteral("\u20ac");
    QTest::newRow("undefined byte keeps its C1 control")
        << QByteArray("\x81\x8d\x8f\x90\x9d") << QStringLiteral("\u0081\u008d\u008f\u0090\u009d");
    QTest::newRow("last of the special range") << QByteArray("\x9f") << QStringLiteral("\u0178");
    QTest::newRow("Latin-1 above the special range")
        << QByteArray("\xa0\xe9\xff") << QStringLiteral("\u00a0\u00e9\u00ff");
    QTest::newRow("quotes in a long ASCII run") << QByteArray("0123456789abcdef\x93x\x94")
                                                << QStringLiteral("0123456789abcdef\u201cx\u201d");
    QTest::newRow("NUL is a character")
        << QByteArray("a\0b", 3) << QStringView(u"a\0b", 3).toString();
}

void TestWindows1252::knownBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString decoded = Windows1252::decode(bytes);
    QCOMPARE(decoded, text);
    QVERIFY(!decoded.isNull());
}

void TestWindows1252::everyByteRoundTrips()
{
    QByteArray bytes(256, '\0');
    for (int b = 0; b < 256; ++b)
        bytes[b] = char(b);
    const QString text = Windows1252::decode(bytes);
    QCOMPARE(text.size(), bytes.size());
    QByteArray back;
    QVERIFY(Windows1252::encode(text, &back));
    QCOMPARE(back, bytes);
    // A character without a code is refused wherever it stands, also after
    // plain ASCII.
    QVERIFY(!Windows1252::canEncode(QStringLiteral("plain text \u0100")));
    QVERIFY(!Windows1252::canEncode(QStringLiteral("\u20ac\u2603")));
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
