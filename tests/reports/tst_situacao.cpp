// Members who are not ATIVO on the roll are left out of every list of
// members (today's birthdays, the month's birthdays, the member list, the
// cards and the tithers' "sem contribuição") unless the list's filter
// "SITUAÇÃO" asks for them; a member with no situação (written by a tool)
// counts as active.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "datamodule/Birthdays.h"
#include "registers/UMembro.h"
#include "reports/caixa/UFDizimistas.h"
#include "reports/cadastros/UFAniversariantes.h"
#include "reports/cadastros/UFMembro.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

using Names = QStringList;
// The names a list shows when its filter asks for `situation` (empty: the
// list has no filter).
using List = std::function<Names(SignedInProgram &p, const QString &situation)>;

void chooseSituation(QWidget *filter, const QString &situation)
{
    auto *box = filter->findChild<QComboBox *>(QStringLiteral("cbSituacao"));
    QVERIFY(box && box->isVisibleTo(filter));
    QCOMPARE(box->currentData().toString(), QString("ATIVO")); // at first
    box->setCurrentIndex(box->findData(situation));
}

Names todaysBirthdays(SignedInProgram &, const QString &)
{
    Names names;
    for (const Birthdays::Born &b : Birthdays::bornOn(Today::date()))
        names << b.name;
    return names;
}

Names monthsBirthdays(SignedInProgram &p, const QString &situation)
{
    TFFAniversariantes filter(p.menu);
    filter.show();
    chooseSituation(&filter, situation);
    return previewOpenedBy(filter.btnGerar).texts(0, "QRDBText1");
}

Names memberList(SignedInProgram &p, const QString &situation)
{
    TFFMembro filter(p.menu);
    filter.show();
    chooseSituation(&filter, situation);
    filter.RGMembros->findChild<QRadioButton *>(QStringLiteral("RGMembros0"))->click();
    return previewOpenedBy(filter.btnGerar).texts(0, "QRDBText1");
}

Names cards(SignedInProgram &p, const QString &)
{
    auto reg = p.open<TFMembro>();
    Messages::Recorder messages;
    messages.answers = {true}; // every member listed
    const ReportRun run = previewOpenedBy(reg->btnCarteirinha);
    return run.texts(0, "txtNome1") + run.texts(0, "txtNome2");
}

Names withoutGifts(SignedInProgram &p, const QString &situation)
{
    TFFDizimistas filter(p.menu);
    filter.show();
    chooseSituation(&filter, situation);
    filter.txtDataInicial->setText("01/05/2011");
    filter.txtDataFinal->setText("31/05/2011");
    const ReportRun run = previewOpenedBy(filter.btnGerar);
    Names names = run.texts(0, "txtDescricao");
    names.removeAll(QString());
    return names.mid(names.indexOf(QRegularExpression("Membros sem contribuição.*")) + 1);
}

} // namespace

Q_DECLARE_METATYPE(List)

class TestSituacao : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }

    void onlyTheSituationAskedForIsListed_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<Names>("listed");
        const Names active{"ANA", "DANIEL"};
        QTest::newRow("aniversariantes de hoje") << List(todaysBirthdays) << QString() << active;
        QTest::newRow("carteirinhas") << List(cards) << QString() << active;
        for (const auto &[name, list] : {std::pair<const char *, List>{"aniversariantes do mês", monthsBirthdays},
                                         {"lista de membros", memberList},
                                         {"sem contribuição", withoutGifts}}) {
            QTest::newRow(qPrintable(QString(name) + " (ATIVO)")) << list << QString("ATIVO") << active;
            QTest::newRow(qPrintable(QString(name) + " (FALECIDO)")) << list << QString("FALECIDO") << Names{"BRUNO"};
            QTest::newRow(qPrintable(QString(name) + " (TODAS)")) << list << QString("TODAS")
                                                                   << Names{"ANA", "BRUNO", "CARLA", "DANIEL"};
        }
    }

    void onlyTheSituationAskedForIsListed()
    {
        QFETCH(List, list);
        QFETCH(QString, situation);
        QFETCH(Names, listed);
        Today::setForTests(QDate(2011, 5, 20));
        SignedInProgram p;
        const QList<QVariantList> members{{1, "ANA", "ATIVO"}, {2, "BRUNO", "FALECIDO"}, {3, "CARLA", "TRANSFERIDO"},
                                          {4, "DANIEL", {}}};
        for (const QVariantList &m : members)
            p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMSITUACAO, MEMDATANASC) VALUES (?, ?, ?, ?)",
                         m + QVariantList{QDate(1980, 5, 20)});
        Names names = list(p, situation);
        names.sort();
        QCOMPARE(names, listed);
        Today::setForTests(QDate());
    }
};

QTEST_MAIN(TestSituacao)
#include "tst_situacao.moc"
