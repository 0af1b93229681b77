// The OFX reader on statements as Brazilian banks write them, each sample
// written here: SGML with open tags and CHARSET:1252 (Latin-1 bytes, and
// UTF-8 bytes under the same header), XML in UTF-8, an XML header over an
// SGML body with a byte-order mark and bare CR line ends, several
// statements in a file, a card's statement, an empty one; then each kind of
// bad file, refused with the line named.
#include "statement/OfxReader.h"
#include "dataset/DbError.h"

#include <QtTest>

namespace {

const QByteArray kSgmlHeader = "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
                               "CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n";

// A bank's SGML statement: the rows newest first, one before DTSTART, the
// amounts with a decimal comma and padded, a blank amount, FITIDs repeated
// and all zeros, TRNTYPE that says nothing, a value on a line of its own.
const QByteArray kSgml1252 =
    "\r\n\r\n" + kSgmlHeader +
    "<OFX>\r\n<SIGNONMSGSRSV1>\r\n<SONRS>\r\n<STATUS>\r\n<CODE>0\r\n<SEVERITY>INFO\r\n</STATUS>\r\n"
    "<DTSERVER>20110601120000[-3:BRT]\r\n<LANGUAGE>POR\r\n</SONRS>\r\n</SIGNONMSGSRSV1>\r\n"
    "<BANKMSGSRSV1>\r\n<STMTTRNRS>\r\n<TRNUID>1001\r\n<STATUS>\r\n<CODE>0\r\n<SEVERITY>INFO\r\n</STATUS>\r\n"
    "<STMTRS>\r\n<CURDEF>BRL\r\n<BANKACCTFROM>\r\n<BANKID>0341\r\n<BRANCHID>1234\r\n<ACCTID>56789-0\r\n"
    "<ACCTTYPE>CHECKING\r\n</BANKACCTFROM>\r\n<BANKTRANLIST>\r\n<DTSTART>20110501\r\n<DTEND>20110531\r\n"
    "<STMTTRN>\r\n<TRNTYPE>OTHER\r\n<DTPOSTED>20110520000000[-3:BRT]\r\n<TRNAMT>   -530,86\r\n<FITID>000000\r\n"
    "<MEMO>TARIFA PACOTE SERVI\xC7OS\r\n</STMTTRN>\r\n"
    "<STMTTRN>\r\n<TRNTYPE>PAYMENT\r\n<DTPOSTED>20110510\r\n<TRNAMT>-000120.00\r\n<FITID>7788\r\n"
    "<MEMO>PARCELA 1/2 M\xC3\x83O DE OBRA\r\n</STMTTRN>\r\n"
    "<STMTTRN>\r\n<TRNTYPE>PAYMENT\r\n<DTPOSTED>20110510\r\n<TRNAMT>-000120.00\r\n<FITID>7788\r\n"
    "<MEMO>PARCELA 1/2 M\xC3\x83O DE OBRA\r\n</STMTTRN>\r\n"
    "<STMTTRN>\r\n<TRNTYPE>OTHER\r\n<DTPOSTED>20110502120000[-3:BRT]\r\n<TRNAMT>\r\n1.500,00\r\n<FITID>A1\r\n"
    "<NAME>PIX RECEBIDO JOS\xC9\r\n</STMTTRN>\r\n"
    "<STMTTRN>\r\n<TRNTYPE>OTHER\r\n<DTPOSTED>20110429\r\n<TRNAMT>\r\n<FITID>A0\r\n<MEMO>SALDO ANTERIOR\r\n"
    "</STMTTRN>\r\n"
    "<STMTTRN>\r\n<TRNTYPE>CREDIT\r\n<DTPOSTED>20110430\r\n<TRNAMT>25.5\r\n<FITID>\r\n<MEMO>OFERTA &amp; DOA\xC7\xC3O\r\n"
    "</STMTTRN>\r\n"
    "</BANKTRANLIST>\r\n<LEDGERBAL>\r\n<BALAMT>848,64\r\n<DTASOF>20110531\r\n</LEDGERBAL>\r\n</STMTRS>\r\n"
    "</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n";

// OFX 2 in UTF-8: a first statement that is empty, a second account, and a
// card's statement.
const QByteArray kXmlUtf8 =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?OFX OFXHEADER=\"200\" VERSION=\"220\" SECURITY=\"NONE\"?>\n"
    "<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>"
    "<DTSERVER>20230301</DTSERVER><LANGUAGE>POR</LANGUAGE><FI><ORG>Banco Cooperativo</ORG></FI></SONRS>"
    "</SIGNONMSGSRSV1>\n<BANKMSGSRSV1>\n"
    "<STMTTRNRS><TRNUID>1</TRNUID><STMTRS><CURDEF>BRL</CURDEF><BANKACCTFROM><BANKID>756</BANKID>"
    "<BRANCHID>3001</BRANCHID><ACCTID>11</ACCTID><ACCTTYPE>CHECKING</ACCTTYPE></BANKACCTFROM>"
    "<BANKTRANLIST><DTSTART>20230201</DTSTART><DTEND>20230228</DTEND></BANKTRANLIST>"
    "<LEDGERBAL><BALAMT></BALAMT><DTASOF>20230228</DTASOF></LEDGERBAL></STMTRS></STMTTRNRS>\n"
    "<STMTTRNRS><TRNUID>2</TRNUID><STMTRS><CURDEF>BRL</CURDEF><BANKACCTFROM><BANKID>756</BANKID>"
    "<BRANCHID>3001</BRANCHID><ACCTID>22</ACCTID><ACCTTYPE>SAVINGS</ACCTTYPE></BANKACCTFROM>\n<BANKTRANLIST>"
    "<DTSTART>20230201</DTSTART><DTEND>20230228</DTEND>\n"
    "<STMTTRN><TRNTYPE>DEBIT</TRNTYPE><DTPOSTED>20230203</DTPOSTED><TRNAMT>-89.90</TRNAMT><FITID>X1</FITID>"
    "<NAME>CEMIG</NAME><MEMO>Conta de energia elétrica</MEMO></STMTTRN>\n"
    "<STMTTRN><TRNTYPE>CREDIT</TRNTYPE><DTPOSTED>20230205</DTPOSTED><TRNAMT>300.00</TRNAMT><FITID>X2</FITID>"
    "<NAME>Dízimo João</NAME><MEMO/></STMTTRN>\n"
    "</BANKTRANLIST><LEDGERBAL><BALAMT>210.10</BALAMT><DTASOF>20230228</DTASOF></LEDGERBAL></STMTRS>"
    "</STMTTRNRS>\n</BANKMSGSRSV1>\n<CREDITCARDMSGSRSV1><CCSTMTTRNRS><TRNUID>3</TRNUID><CCSTMTRS>"
    "<CURDEF>BRL</CURDEF><CCACCTFROM><ACCTID>5555</ACCTID></CCACCTFROM><BANKTRANLIST><DTSTART>20230201</DTSTART>"
    "<DTEND>20230228</DTEND><STMTTRN><TRNTYPE>PAYMENT</TRNTYPE><DTPOSTED>20230210</DTPOSTED>"
    "<TRNAMT>-45.00</TRNAMT><FITID>C1</FITID><MEMO>Papelaria Ação</MEMO></STMTTRN></BANKTRANLIST>"
    "</CCSTMTRS></CCSTMTTRNRS></CREDITCARDMSGSRSV1>\n</OFX>\n";

// An XML header over an SGML body, after a byte-order mark and blank
// lines, with bare CR line ends; an empty statement.
const QByteArray kXmlOverSgml =
    "\xEF\xBB\xBF\r\r<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r<?OFX OFXHEADER=\"200\" VERSION=\"211\"?>\r"
    "<OFX>\r<BANKMSGSRSV1>\r<STMTTRNRS>\r<STMTRS>\r<BANKACCTFROM>\r<BANKID>001\r<BRANCHID>0042-7\r"
    "<ACCTID>9999-X\r</BANKACCTFROM>\r<BANKTRANLIST>\r<DTSTART>20240101\r<DTEND>20240131\r</BANKTRANLIST>\r"
    "<LEDGERBAL>\r<BALAMT>0.00\r<DTASOF>20240131\r</LEDGERBAL>\r</STMTRS>\r</STMTTRNRS>\r</BANKMSGSRSV1>\r</OFX>";

// One posting (on line 6), its date (line 7) and amount (line 8) as given.
QByteArray onePosting(const QByteArray &date, const QByteArray &amount)
{
    return "OFXHEADER:100\nCHARSET:1252\n\n<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS>\n<BANKTRANLIST>\n<STMTTRN>\n"
           "<DTPOSTED>" + date + "\n<TRNAMT>" + amount + "\n<MEMO>X\n</STMTTRN>\n</BANKTRANLIST>\n"
           "</STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

// What was read, one text per statement: the account, the period, the
// balance, each line (date, amount, description, identity) and what was left out.
QStringList summary(const QList<Ofx::Statement> &statements)
{
    QStringList out;
    for (const Ofx::Statement &s : statements) {
        QStringList parts{s.accountLabel(), s.start.toString("yyyy-MM-dd") + ".." + s.end.toString("yyyy-MM-dd"),
                          s.ledgerBalance ? QString::number(*s.ledgerBalance, 'f', 2) + "@"
                                                + s.ledgerDate.toString("yyyy-MM-dd")
                                          : QString("sem saldo")};
        for (const Ofx::Line &l : s.lines)
            parts << QString("%1 %2 %3 [%4]").arg(l.date.toString("yyyy-MM-dd")).arg(l.amount, 0, 'f', 2)
                         .arg(l.description, l.identity);
        for (const Ofx::LeftOut &l : s.leftOut)
            parts << QString("fora: linha %1 %2").arg(l.fileLine).arg(l.why);
        out << parts.join(" | ");
    }
    return out;
}

} // namespace

class TestOfx : public QObject
{
    Q_OBJECT
private slots:
    void statements_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("SGML 1252") << kSgml1252 << QStringList{
            "BANCO 0341 · AG 1234 · CC 56789-0 | 2011-05-01..2011-05-31 | 848.64@2011-05-31"
            " | 2011-05-20 -530.86 TARIFA PACOTE SERVIÇOS [D 20110520 -53086 TARIFA PACOTE SERVIÇOS]"
            " | 2011-05-10 -120.00 PARCELA 1/2 MÃO DE OBRA [D 20110510 -12000 PARCELA 1/2 MÃO DE OBRA]"
            " | 2011-05-10 -120.00 PARCELA 1/2 MÃO DE OBRA [D 20110510 -12000 PARCELA 1/2 MÃO DE OBRA #2]"
            " | 2011-05-02 1500.00 PIX RECEBIDO JOSÉ [F A1]"
            " | 2011-04-30 25.50 OFERTA & DOAÇÃO [D 20110430 2550 OFERTA & DOAÇÃO]"
            " | fora: linha 71 lançamento sem valor"};
        QTest::newRow("XML UTF-8") << kXmlUtf8 << QStringList{
            "BANCO 756 · AG 3001 · CC 11 | 2023-02-01..2023-02-28 | sem saldo",
            "BANCO 756 · AG 3001 · CC 22 | 2023-02-01..2023-02-28 | 210.10@2023-02-28"
            " | 2023-02-03 -89.90 Conta de energia elétrica [F X1] | 2023-02-05 300.00 Dízimo João [F X2]",
            "BANCO Banco Cooperativo · CARTÃO 5555 | 2023-02-01..2023-02-28 | sem saldo"
            " | 2023-02-10 -45.00 Papelaria Ação [F C1]"};
        QTest::newRow("XML over SGML") << kXmlOverSgml << QStringList{
            "BANCO 001 · AG 0042-7 · CC 9999-X | 2024-01-01..2024-01-31 | 0.00@2024-01-31"};
    }

    void statements()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        QCOMPARE(summary(Ofx::read(file)), expected);
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not OFX") << QByteArray("Data;Historico;Valor\n02/05/2011;PIX;10,00\n")
                                 << "Linha 1 do arquivo: o arquivo não é um extrato OFX";
        QTest::newRow("truncated") << kSgml1252.left(kSgml1252.indexOf("<STMTTRN>\r\n<TRNTYPE>CREDIT"))
                                   << "Linha 77 do arquivo: o arquivo termina sem fechar <BANKTRANLIST>, aberta na linha 39";
        QTest::newRow("cut in a tag") << kXmlUtf8.left(kXmlUtf8.indexOf("<TRNAMT>300") + 4)
                                      << "Linha 9 do arquivo: o arquivo termina no meio de uma marca";
        QTest::newRow("amount") << onePosting("20110502", "12,3x")
                                << "Linha 8 do arquivo: o valor \"12,3x\" (TRNAMT) não é um valor em dinheiro.";
        QTest::newRow("date") << onePosting("20111345", "10,00")
                              << "Linha 7 do arquivo: a data \"20111345\" (DTPOSTED) não é uma data válida.";
        QTest::newRow("no date") << onePosting("", "10,00") << "Linha 6 do arquivo: o lançamento não tem data";
        QTest::newRow("empty") << QByteArray() << "Linha 1 do arquivo: o arquivo não é um extrato OFX";
    }

    void badFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QString error;
        try {
            Ofx::read(file);
        } catch (const DbError &e) {
            error = e.text();
        }
        QVERIFY2(error.startsWith(expected) && error.endsWith("Nada do arquivo foi importado."), qPrintable(error));
    }

    void amounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");
        const QVariant none;
        for (const auto &[text, value] : QList<std::pair<QString, QVariant>>{
                 {"-530,86", -530.86}, {"  -530.86", -530.86}, {"-000530.86", -530.86}, {"1.234,56", 1234.56},
                 {"1,234.56", 1234.56}, {"+10", 10.0}, {"0,00", 0.0}, {".5", 0.5}, {"12,3x", none},
                 {"1.2.3", none}, {"-", none}, {"1e5", none}, {"12 3", none}, {"9999999999999999", none}})
            QTest::newRow(qPrintable(text)) << text << value;
    }

    void amounts()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        const std::optional<double> amount = Ofx::amountOf(text);
        QCOMPARE(amount.has_value(), expected.isValid());
        if (amount)
            QCOMPARE(*amount, expected.toDouble());
    }

    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("day") << "20110502" << QDate(2011, 5, 2);
        QTest::newRow("local midnight") << "20110502000000[-3:BRT]" << QDate(2011, 5, 2);
        QTest::newRow("late evening") << "20110502235959.000[-3:BRT]" << QDate(2011, 5, 2);
        QTest::newRow("zone without name") << "20110502120000[-03]" << QDate(2011, 5, 2);
        QTest::newRow("month 13") << "20111345" << QDate();
        QTest::newRow("31 February") << "20110231" << QDate();
        QTest::newRow("hour 25") << "20110502250000" << QDate();
        QTest::newRow("short") << "201105" << QDate();
        QTest::newRow("words") << "02/05/2011" << QDate();
    }

    void dates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        QCOMPARE(Ofx::dateOf(text).value_or(QDate()), expected);
    }
};

QTEST_GUILESS_MAIN(TestOfx)
#include "tst_ofx.moc"
