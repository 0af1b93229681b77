// The fuzz target's entry point in the regular suite: a fixed corpus of
// known hard cases, then random inputs from fixed seeds.
#include "FuzzInputs.h"
#include "TestDatabase.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QString run(const QByteArray &input)
{
    return checkFuzzInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
}

} // namespace

class TestFuzzInputs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void corpus_data()
    {
        QTest::addColumn<QByteArray>("text");
        for (const char *t : {"", "'", "''", "%", "_", "a'b", "JOÃO", "ção", "😀", "(UPPER(NOME) LIKE UPPER('%a%'))",
                              "(UPPER( LIKE", "(UPPER(NOME) LIKE UPPER('", "31/02/2020", "29/02/2024", "00/00/0000",
                              "1/1/1", "  /  /    ", "99/99/9999", "1.234,56", "R$ 10,00", "inf", "-inf", "nan",
                              "1e308", "1e309", "1,7976931348623157e308", "--1", "\x01\x02", "0x10", "<OFX>", "<OFX></OFX>",
                              "<OFX><STMTRS><BANKTRANLIST><STMTTRN><DTPOSTED>20110502<TRNAMT>-1,5</STMTTRN>"
                              "</BANKTRANLIST></STMTRS></OFX>", "<OFX><TRNAMT></OFX>", "<OFX", "<!--<OFX>", "</OFX><OFX>"})
            for (char target : {'\0', '\1', '\2', '\3'})
                QTest::addRow("%d %s", int(target), t) << QByteArray(1, target) + QByteArray(t);
    }

    void corpus()
    {
        QFETCH(QByteArray, text);
        QCOMPARE(run(text), QString());
    }

    void randomInputs()
    {
        QRandomGenerator random(11);
        const QByteArray alphabet("0123456789/,.-+eE %_'()UPPERLIKEnomeinfa\xc3\xa3\xc3\x87\x01 R$");
        int runs = 0;
        for (; runs < 20000; ++runs) {
            QByteArray input(1, char(random.bounded(3)));
            const int length = random.bounded(40);
            for (int i = 0; i < length; ++i)
                input += random.bounded(4) == 0 ? char(random.bounded(256)) : alphabet[random.bounded(alphabet.size())];
            const QString broken = run(input);
            if (!broken.isEmpty())
                QFAIL(qPrintable(broken + QStringLiteral(" (input %1)").arg(QString::fromLatin1(input.toHex()))));
        }
        qInfo("%d random inputs", runs);
    }

    // Statements cut, joined and mangled from pieces of real OFX.
    void randomStatements()
    {
        const QList<QByteArray> pieces{
            "OFXHEADER:100\r\nCHARSET:1252\r\n\r\n", "<?xml version=\"1.0\"?>", "\xEF\xBB\xBF", "<OFX>", "</OFX>",
            "<STMTRS>", "</STMTRS>", "<CCSTMTRS>", "<BANKACCTFROM><BANKID>341<BRANCHID>12<ACCTID>9</BANKACCTFROM>",
            "<BANKTRANLIST>", "</BANKTRANLIST>", "<STMTTRN>", "</STMTTRN>", "<DTPOSTED>20110502",
            "<DTPOSTED>20110502000000[-3:BRT]", "<DTPOSTED>2011", "<TRNAMT>-530,86", "<TRNAMT>", "<TRNAMT>1.234,5",
            "<TRNAMT>12,3x", "<FITID>000", "<FITID>77", "<MEMO>TARIFA", "<MEMO>S\xC3\x83O", "<NAME>JOS\xC9", "</MEMO>",
            "<LEDGERBAL><BALAMT>10<DTASOF>20110531</LEDGERBAL>", "&amp;", "&#0;", "&#x10FFFF;", "<!--", "-->", "<",
            ">", "/", "\r", "\n", "\r\n", " ", "<MEMO/>"};
        QRandomGenerator random(31);
        int runs = 0;
        for (; runs < 5000; ++runs) {
            QByteArray input(1, '\3');
            const int length = random.bounded(60);
            for (int i = 0; i < length; ++i)
                input += random.bounded(8) == 0 ? QByteArray(1, char(random.bounded(256)))
                                                : pieces[random.bounded(pieces.size())];
            const QString broken = run(input);
            if (!broken.isEmpty())
                QFAIL(qPrintable(broken + QStringLiteral(" (input %1)").arg(QString::fromLatin1(input.toHex()))));
        }
        qInfo("%d random statements", runs);
    }
};

QTEST_GUILESS_MAIN(TestFuzzInputs)
#include "tst_fuzzinputs.moc"
