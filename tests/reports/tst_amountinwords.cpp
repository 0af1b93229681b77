// Amounts written out in Portuguese, as the receipt prints them.
#include "TestDatabase.h"

#include "reports/caixa/AmountInWords.h"

#include <QtTest>

class TestAmountInWords : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void amounts_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("words");
        const auto row = [](const char *name, double amount, const char *words) {
            QTest::newRow(name) << amount << QString::fromUtf8(words);
        };
        row("0,01", 0.01, "um centavo");
        row("1,00", 1.00, "um real");
        row("21,50", 21.50, "vinte e um reais e cinquenta centavos");
        row("100,00", 100.00, "cem reais");
        row("1.000.000,00", 1000000.00, "um milhão de reais");
        row("2.345.678,91", 2345678.91,
            "dois milhões, trezentos e quarenta e cinco mil, seiscentos e setenta e oito reais e noventa e um centavos");
        row("120,50", 120.50, "cento e vinte reais e cinquenta centavos");
        row("0,00", 0, "zero reais");
        row("0,99", 0.99, "noventa e nove centavos");
        row("1,01", 1.01, "um real e um centavo");
        row("2,00", 2, "dois reais");
        row("15,00", 15, "quinze reais");
        row("101,00", 101, "cento e um reais");
        row("999,00", 999, "novecentos e noventa e nove reais");
        row("1.000,00", 1000, "mil reais");
        row("1.001,00", 1001, "mil e um reais");
        row("1.100,00", 1100, "mil e cem reais");
        row("1.101,00", 1101, "mil, cento e um reais");
        row("2.500,00", 2500, "dois mil e quinhentos reais");
        row("21.000,00", 21000, "vinte e um mil reais");
        row("100.000,00", 100000, "cem mil reais");
        row("1.500.000,00", 1500000, "um milhão e quinhentos mil reais");
        row("2.000.000,00", 2000000, "dois milhões de reais");
        row("1.000.001,00", 1000001, "um milhão e um reais");
        row("3.000.000.000,00", 3000000000.0, "três bilhões de reais");
        row("arredondado ao centavo", 0.125, "treze centavos");
        row("negativo", -3.5, "menos três reais e cinquenta centavos");
    }

    void amounts()
    {
        QFETCH(double, amount);
        QFETCH(QString, words);
        QCOMPARE(AmountInWords::reais(amount), words);
    }
};

QTEST_MAIN(TestAmountInWords)
#include "tst_amountinwords.moc"
