#include "common/Windows1252.h"

#include <QTest>

using namespace Ledgerly;

// The code page both ways: every byte decodes to its own character and back,
// whatever its place in the text (ASCII runs are decoded eight bytes at a
// time, the rest byte by byte).
class TestWindows1252 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownBytes_data();
    void knownBytes();
    void placeInTextDoesNotMatter_data();
    void placeInTextDoesNotMatter();
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

void TestWindows1252::placeInTextDoesNotMatter_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("at");
    // Lengths around one and two words; the byte at each end and in between.
    for (const int length : {1, 7, 8, 9, 15, 16, 17, 24}) {
        for (const int at : {0, length / 2, length - 1})
            QTest::addRow("%d bytes, special at %d", length, at) << length << at;
    }
}

void TestWindows1252::placeInTextDoesNotMatter()
{
    QFETCH(int, length);
    QFETCH(int, at);
    for (const char special : {'\x80', '\x9c', '\xe4'}) {
        QByteArray bytes(length, 'a');
        bytes[at] = special;
        QString expected(length, QLatin1Char('a'));
        expected[at] = Windows1252::decode(QByteArray(1, special)).at(0);
        QCOMPARE(Windows1252::decode(bytes), expected);
    }
}

void TestWindows1252::everyByteRoundTrips()
{
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    // Twice over, so that each byte is also met inside a word of eight.
    const QByteArray bytes = all + all;
    const QString text = Windows1252::decode(bytes);
    QCOMPARE(text.size(), bytes.size());
    for (int b = 0; b < 256; ++b)
        QCOMPARE(text.at(b + 256), text.at(b));
    QByteArray back;
    QVERIFY(Windows1252::encode(text, &back));
    QCOMPARE(back, bytes);
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
