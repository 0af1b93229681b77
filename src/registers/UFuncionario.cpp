#include "UFuncionario.h"

#include "UCargo.h"
#include "reports/cadastros/URFuncionario.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "datamodule/UDM.h"
#include "controls/DBComboBox.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBLookupComboBox.h"
#include "controls/DBNavigator.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TFFuncionario *FFuncionario = nullptr;

namespace {

RecordFormSetup setup()
{
    RecordFormSetup s;
    s.objectName = QStringLiteral("FFuncionario");
    s.caption = QStringLiteral("Cadastro de Funcionários");
    s.source = DM->DSFUNCIONARIO;
    s.codeColumn = QStringLiteral("FUNCODIGO");
    s.openOnShow = {DM->TBCARGO, DM->TBFUNCIONARIO};
    s.rereadOnNew = false;
    s.capitals = true;
    s.searchCapitals = true;
    s.searchColumn = QStringLiteral("FUNNOME");
    s.searchLabel = QStringLiteral("BUSCA DE FUNCIONÁRIO POR NOME: ");
    s.focusSearchOnQueryPage = true;
    s.shortcuts = RecordFormSetup::Shortcuts::Register;
    s.consultKey = true; // the legend promises F8
    s.reportCaption = QStringLiteral("Lista de Funcionários");
    s.reportShortcutCaption = QStringLiteral("Lista Func.");
    s.size = QSize(634, 600);
    s.exportName = QStringLiteral("funcionarios");
    return s;
}

// Key down, key up and leaving the list, as the position list reacts to them.
class ListWatch : public QObject
{
public:
    ListWatch(QWidget *list, std::function<void()> action) : QObject(list), m_action(std::move(action))
    {
        list->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *e) override
    {
        const bool key = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
        if (key || (e->type() == QEvent::FocusOut && DataControl::leftForReal(static_cast<QFocusEvent *>(e))))
            runGuarded(m_action);
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

TFFuncionario::TFFuncionario(QWidget *owner) : RecordForm(owner, setup())
{
    QWidget *page = TabSheet1;
    DBEdit1 = fieldBox(QStringLiteral("DBEdit1"), QStringLiteral("FUNCODIGO"), 80);
    DBEdit2 = fieldBox(QStringLiteral("DBEdit2"), QStringLiteral("FUNNOME"));
    DBEdit3 = fieldBox(QStringLiteral("DBEdit3"), QStringLiteral("FUNCARGO"), 60);
    DBEdit3->setReadOnly(true); // in either state: the position is chosen in the list
    DBLookupComboBox1 = new DBLookupComboBox(page);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setAccessibleName(QStringLiteral("DESCRIÇÃO DO CARGO"));
    DBLookupComboBox1->setListSource(DM->DSCARGO, QStringLiteral("CARCODIGO"), QStringLiteral("CARDESCRICAO"));
    DBLookupComboBox1->setDataField(DM->DSFUNCIONARIO, QStringLiteral("FUNCARGO"));
    DBLookupComboBox1->setListFollowsField(true);
    btnCargo = FormKit::pictureButton(page, QStringLiteral("btnCargo"), QStringLiteral("Cargo"),
                                      QStringLiteral(":/icons/cargos.svg"), true);
    btnCargo->setToolTip(QStringLiteral("Cadastro de Cargos"));
    btnCargo->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnCargo->setIconSize(Appearance::scaled(QSize(18, 18)));
    DBEdit4 = fieldBox(QStringLiteral("DBEdit4"), QStringLiteral("FUNENDERECO"));
    DBEdit5 = fieldBox(QStringLiteral("DBEdit5"), QStringLiteral("FUNCIDADE"));
    DBComboBox1 = listBox(QStringLiteral("DBComboBox1"), QStringLiteral("FUNUF"), stateCodes(), 70);
    DBEdit7 = fieldBox(QStringLiteral("DBEdit7"), QStringLiteral("FUNPAISNACAO"));
    DBEdit8 = fieldBox(QStringLiteral("DBEdit8"), QStringLiteral("FUNSALARIO"), 160);
    DBEdit9 = fieldBox(QStringLiteral("DBEdit9"), QStringLiteral("FUNTELEFONERES"));
    DBEdit10 = fieldBox(QStringLiteral("DBEdit10"), QStringLiteral("FUNTELEFONETRAB"));
    DBEdit11 = fieldBox(QStringLiteral("DBEdit11"), QStringLiteral("FUNCELULAR"), 160);
    DBEdit12 = fieldBox(QStringLiteral("DBEdit12"), QStringLiteral("FUNEMAIL"));

    addLabeled(QStringLiteral("Label1"), QStringLiteral("CÓDIGO"), DBEdit1);
    addLabeled(QStringLiteral("Label2"), QStringLiteral("NOME"), DBEdit2);
    auto *position = new QHBoxLayout;
    position->addWidget(DBEdit3);
    position->addWidget(DBLookupComboBox1, 1);
    position->addWidget(btnCargo);
    addLabeled(QStringLiteral("Label3"), QStringLiteral("CARGO"), position, DBEdit3);
    addLabeled(QStringLiteral("Label4"), QStringLiteral("ENDEREÇO"), DBEdit4);
    auto *city = new QHBoxLayout;
    city->addLayout(FormKit::captionAbove(page, QStringLiteral("Label5"), QStringLiteral("CIDADE"), DBEdit5), 1);
    city->addLayout(FormKit::captionAbove(page, QStringLiteral("Label6"), QStringLiteral("UF"), DBComboBox1));
    entryLayout()->addLayout(city);
    entryLayout()->addSpacing(4);
    auto *pay = new QHBoxLayout;
    pay->addLayout(FormKit::captionAbove(page, QStringLiteral("Label7"), QStringLiteral("PAÍS"), DBEdit7), 1);
    pay->addLayout(FormKit::captionAbove(page, QStringLiteral("Label8"), QStringLiteral("SALÁRIO"), DBEdit8));
    entryLayout()->addLayout(pay);
    entryLayout()->addSpacing(4);
    auto *phones = new QHBoxLayout;
    phones->addLayout(FormKit::captionAbove(page, QStringLiteral("Label9"), QStringLiteral("TELEFONE RESIDENCIAL"), DBEdit9), 1);
    phones->addLayout(FormKit::captionAbove(page, QStringLiteral("Label10"), QStringLiteral("TELEFONE DO TRABALHO"), DBEdit10), 1);
    entryLayout()->addLayout(phones);
    entryLayout()->addSpacing(4);
    auto *reach = new QHBoxLayout;
    reach->addLayout(FormKit::captionAbove(page, QStringLiteral("Label11"), QStringLiteral("CELULAR"), DBEdit11));
    reach->addLayout(FormKit::captionAbove(page, QStringLiteral("Label12"), QStringLiteral("EMAIL"), DBEdit12), 1);
    entryLayout()->addLayout(reach);
    entryLayout()->addSpacing(4);

    setCodeBox(DBEdit1);
    addEditable({DBEdit2, DBEdit4, DBEdit5, DBEdit7, DBEdit8, DBEdit9, DBEdit10, DBEdit11, DBEdit12,
                 DBComboBox1, DBLookupComboBox1, btnCargo});
    setFirstField(DBEdit2);
    // The UF and position lists come after the navigator, whatever their place on the page.
    setTabChain({DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit5, DBEdit7, DBEdit8, DBEdit9, DBEdit10, DBEdit11, DBEdit12,
                 DBNavigator1, DBComboBox1, DBLookupComboBox1});
    new ListWatch(DBLookupComboBox1, [this] { copySalaryFromPosition(); });
    connectGuarded(btnCargo, &QToolButton::clicked, this, [this] { btnCargoClick(); });

    // The old widths, shifted a little so the money and the code title show whole.
    DBGrid1->addColumn(QStringLiteral("FUNCODIGO"), QStringLiteral("CÓDIGO"), 56);
    DBGrid1->addColumn(QStringLiteral("FUNNOME"), QStringLiteral("NOME"), 240);
    DBGrid1->addColumn(QStringLiteral("FUNCARGO"), QStringLiteral("CARGO"), 60);
    DBGrid1->addColumn(QStringLiteral("FUNSALARIO"), QStringLiteral("SALARIO"), 95);
    DBGrid1->addColumn(QStringLiteral("FUNTELEFONERES"), QStringLiteral("TELEFONE"), 116);
    finishLayout();
}

// Both windows work on the shared positions table: nothing to reload after.
void TFFuncionario::btnCargoClick()
{
    FormKit::openModal(FCargo, this);
}

// The employee list, straight into its preview: it reads the database, so it
// lists every stored employee whatever the search, and no row only in memory.
void TFFuncionario::btnRelatorioClick()
{
    // The list has no filter window: it prints in big letters while the
    // screen's text is larger than normal.
    auto *report = new TFRFuncionario(this);
    report->setLargePrint(Appearance::textSize() != Appearance::TextSize::Normal);
    report->previewWith(report->QFuncionario, TFRFuncionario::kSql);
}

// The salary of the position the list shows. With no position shown the
// salary is left alone, instead of taking whatever position the shared
// table happens to stand on.
void TFFuncionario::copySalaryFromPosition()
{
    TableDataset *positions = DBLookupComboBox1->listDataset();
    const int row = DBLookupComboBox1->currentIndex();
    if (!DM->TBFUNCIONARIO->editing() || !positions || row < 0 || row >= positions->recordCount())
        return;
    DM->TBFUNCIONARIOFUNSALARIO->setAsFloat(positions->valueAt(row, DM->TBCARGOCARSALARIO->index()).toDouble());
}
