// CPF and CNPJ: their check digits, the usual formats, and the question
// asked on saving one that is not valid.
#include "datamodule/TaxNumber.h"

#include <QtTest>

using TaxNumber::Kind;

class TestTaxNumber : public QObject
{
    Q_OBJECT
private slots:
    void checkDigitsAndFormat_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("formatted");
        QTest::newRow("CPF de dígitos") << Kind::Cpf << "52998224725" << true << "529.982.247-25";
        QTest::newRow("CPF formatado") << Kind::Cpf << " 529.982.247-25 " << true << "529.982.247-25";
        QTest::newRow("CPF antigo, com hífens") << Kind::Cpf << "172-588-395-34" << true << "172.588.395-34";
        QTest::newRow("CPF com o 1º dígito errado") << Kind::Cpf << "52998224735" << false << "529.982.247-35";
        QTest::newRow("CPF com o 2º dígito errado") << Kind::Cpf << "529.982.247-26" << false << "529.982.247-26";
        QTest::newRow("CPF de um dígito só") << Kind::Cpf << "111.111.111-11" << false << "111.111.111-11";
        QTest::newRow("CPF curto") << Kind::Cpf << "123" << false << "123";
        QTest::newRow("CPF longo") << Kind::Cpf << "529982247250" << false << "529982247250";
        QTest::newRow("CPF com letra") << Kind::Cpf << "529.982.247-2X5" << false << "529.982.247-2X5";
        QTest::newRow("CPF vazio") << Kind::Cpf << "  " << true << "";
        QTest::newRow("CNPJ de dígitos") << Kind::Cnpj << "11222333000181" << true << "11.222.333/0001-81";
        QTest::newRow("CNPJ com letras") << Kind::Cnpj << "12.abc.345/01de-35" << true << "12.ABC.345/01DE-35";
        QTest::newRow("CNPJ com dígito errado") << Kind::Cnpj << "11.222.333/0001-82" << false << "11.222.333/0001-82";
        QTest::newRow("CNPJ de zeros") << Kind::Cnpj << "00000000000000" << false << "00.000.000/0000-00";
        QTest::newRow("CNPJ de treze") << Kind::Cnpj << "1122233300018" << false << "1122233300018";
        QTest::newRow("CNPJ com sinal estranho") << Kind::Cnpj << "11222333000181x" << false << "11222333000181x";
        QTest::newRow("CNPJ com letra no dígito") << Kind::Cnpj << "12ABC34501DE3A" << false << "12.ABC.345/01DE-3A";
        QTest::newRow("CNPJ vazio") << Kind::Cnpj << "" << true << "";
    }

    void checkDigitsAndFormat()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QFETCH(QString, formatted);
        QCOMPARE(TaxNumber::isValid(kind, typed), valid);
        QCOMPARE(TaxNumber::formatted(kind, typed), formatted);
        QCOMPARE(TaxNumber::doubtOn(kind, typed).isEmpty(), valid);
    }

    void theQuestionNamesTheNumberAsItWillBeStored()
    {
        QCOMPARE(TaxNumber::doubtOn(Kind::Cpf, "12345678901"), "O CPF 123.456.789-01 não é válido. Salvar assim mesmo?");
        QCOMPARE(TaxNumber::doubtOn(Kind::Cnpj, "11222333000182"),
                 "O CNPJ 11.222.333/0001-82 não é válido. Salvar assim mesmo?");
    }
};

QTEST_MAIN(TestTaxNumber)
#include "tst_taxnumber.moc"
