#include "UDocumentos.h"

#include "reports/cadastros/URDocumento.h"

#include "datamodule/Documents.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Today.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

TFDocumentos *FDocumentos = nullptr;

using DocumentModels::Kind;

namespace {

const QString kDateFormat = QStringLiteral("dd/MM/yyyy");

// A date box's date; an invalid date for an empty or impossible one.
QDate dateIn(const QLineEdit *box)
{
    return QDate::fromString(box->text(), kDateFormat);
}

bool blank(const QLineEdit *box)
{
    QString digits = box->text();
    digits.remove(QLatin1Char('/')).remove(QLatin1Char('_'));
    return digits.trimmed().isEmpty();
}

} // namespace

TFDocumentos::TFDocumentos(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FDocumentos"));
    setWindowTitle(QStringLiteral("Documentos"));
    FormKit::whiteBackground(this);
    setMinimumWidth(Appearance::scaled(460));

    lblMembro = FormKit::captionLabel(this, QStringLiteral("lblMembro"), QString(), nullptr, 11, true);
    lblMembro->setAccessibleName(QStringLiteral("MEMBRO"));
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("MEMBRO"), nullptr, 0, true);
    cbTipo = new QComboBox(this);
    cbTipo->setObjectName(QStringLiteral("cbTipo"));
    for (Kind k : DocumentModels::kinds())
        cbTipo->addItem(DocumentModels::name(k), int(k));
    Label2 = FormKit::captionLabel(this, QStringLiteral("Label2"), QStringLiteral("DOCUMENTO"), cbTipo, 0, true);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(24, 18, 24, 14);
    column->addWidget(Label1);
    column->addWidget(lblMembro);
    column->addSpacing(8);
    column->addWidget(Label2);
    column->addWidget(cbTipo);
    column->addSpacing(8);
    txtIgrejaDestino = box("txtIgrejaDestino", QStringLiteral("IGREJA_DESTINO"), 60, false);
    txtCidadeDestino = box("txtCidadeDestino", QStringLiteral("CIDADE_DESTINO"), 40, false);
    txtValidaAte = box("txtValidaAte", QStringLiteral("VALIDA_ATE"), 0, true);
    txtDataBatismo = box("txtDataBatismo", QStringLiteral("DATA_BATISMO"), 0, true);
    txtDataBatismo->setReadOnly(true); // from the member's roll
    txtDataApresentacao = box("txtDataApresentacao", QStringLiteral("DATA_APRESENTACAO"), 0, true);
    txtOficiante = box("txtOficiante", QStringLiteral("OFICIANTE"), 50, false);
    addAsked(column, QStringLiteral("IGREJA_DESTINO"), QStringLiteral("IGREJA DE DESTINO"));
    addAsked(column, QStringLiteral("CIDADE_DESTINO"), QStringLiteral("CIDADE DE DESTINO"));
    addAsked(column, QStringLiteral("VALIDA_ATE"), QStringLiteral("VÁLIDA ATÉ"));
    addAsked(column, QStringLiteral("DATA_BATISMO"), QStringLiteral("DATA DE BATISMO (página Rol)"));
    addAsked(column, QStringLiteral("DATA_APRESENTACAO"), QStringLiteral("DATA DA APRESENTAÇÃO"));
    addAsked(column, QStringLiteral("OFICIANTE"), QStringLiteral("OFICIANTE"));
    column->addStretch();

    btnEmitir = FormKit::pictureButton(this, QStringLiteral("btnEmitir"), QStringLiteral("Emitir"),
                                       QStringLiteral(":/icons/imprimir.svg"), false);
    btnSair = FormKit::pictureButton(this, QStringLiteral("btnSair"), QStringLiteral("Sair"),
                                     QStringLiteral(":/icons/sair.svg"), false);
    for (QToolButton *b : {btnEmitir, btnSair})
        b->setMinimumSize(Appearance::scaled(QSize(100, 60)));
    column->addSpacing(10);
    column->addLayout(FormKit::centredRow({btnEmitir, btnSair}));
    connectGuarded(btnEmitir, &QToolButton::clicked, this, [this] { btnEmitirClick(); });
    connectGuarded(btnSair, &QToolButton::clicked, this, [this] { reject(); });
    connectGuarded(cbTipo, &QComboBox::currentIndexChanged, this, [this] { cbTipoChange(); });
    FormKit::tabChain({cbTipo, txtIgrejaDestino, txtCidadeDestino, txtValidaAte, txtDataApresentacao, txtOficiante});

    m_member = DM->TBMEMBROMEMCODIGO->asInteger();
    lblMembro->setText(DM->TBMEMBROMEMNOME->asString());
    txtValidaAte->setText(Today::date().addMonths(6).toString(kDateFormat));
    txtDataApresentacao->setText(Today::date().toString(kDateFormat));
    txtDataBatismo->setText(baptism().toString(kDateFormat));
    cbTipoChange();
}

QLineEdit *TFDocumentos::box(const char *name, const QString &field, int maxLength, bool date)
{
    QLineEdit *edit = FormKit::textBox(this, QString::fromLatin1(name), false, maxLength);
    if (date)
        edit->setInputMask(QStringLiteral("99/99/9999;_"));
    m_boxes.insert(field, edit);
    return edit;
}

// The caption above its box, shown or hidden together.
void TFDocumentos::addAsked(QVBoxLayout *column, const QString &field, const QString &caption)
{
    auto *row = new QWidget(this);
    QLineEdit *edit = m_boxes.value(field);
    edit->setParent(row);
    QVBoxLayout *cell = FormKit::captionAbove(row, QStringLiteral("lbl") + edit->objectName().mid(3), caption, edit);
    cell->setContentsMargins(0, 0, 0, 4);
    row->setLayout(cell);
    column->addWidget(row);
    m_rows.insert(field, row);
    m_captions.insert(field, caption);
}

void TFDocumentos::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormKit::centreOnScreen(this);
}

Kind TFDocumentos::kind() const
{
    return Kind(cbTipo->currentData().toInt());
}

void TFDocumentos::cbTipoChange()
{
    QStringList shown;
    for (const DocumentModels::Field &f : DocumentModels::askedFields(kind()))
        shown << f.name;
    if (kind() == Kind::Baptism)
        shown << QStringLiteral("DATA_BATISMO");
    for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it)
        it.value()->setVisible(shown.contains(it.key()));
    adjustSize();
}

// The member's baptism as the roll keeps it (DATA DE BATISMO).
QDate TFDocumentos::baptism() const
{
    const Field *date = DM->TBMEMBRO->findField(QStringLiteral("MEMDATABATISMO"));
    return date ? date->asDate() : QDate();
}

QHash<QString, QVariant> TFDocumentos::asked() const
{
    QHash<QString, QVariant> values;
    const Kind k = kind();
    for (const DocumentModels::Field &f : DocumentModels::askedFields(k)) {
        const QLineEdit *edit = m_boxes.value(f.name);
        if (!DocumentModels::isDateField(f.name)) {
            values.insert(f.name, edit->text().trimmed());
            continue;
        }
        const QDate date = dateIn(edit);
        if (!date.isValid())
            throw DbError(blank(edit) ? QStringLiteral("Informe a data em %1.").arg(m_captions.value(f.name))
                                      : QStringLiteral("\"%1\" não é uma data válida (%2).")
                                            .arg(edit->text(), m_captions.value(f.name)));
        values.insert(f.name, date);
    }
    if (k == Kind::Transfer) {
        if (values.value(QStringLiteral("IGREJA_DESTINO")).toString().isEmpty())
            throw DbError(QStringLiteral("Informe a igreja de destino da carta de transferência."));
        if (values.value(QStringLiteral("VALIDA_ATE")).toDate() <= Today::date())
            throw DbError(QStringLiteral("A data em \"válida até\" precisa ser depois de hoje."));
    }
    if (k == Kind::Baptism && !baptism().isValid())
        throw DbError(QStringLiteral("O membro não tem a data de batismo no rol. Informe-a na página Rol do "
                                     "Cadastro de Membros e salve antes de emitir o certificado."));
    return values;
}

// What the document's record says of it, in a line.
QString TFDocumentos::detailsOf(const QHash<QString, QVariant> &asked) const
{
    QStringList parts;
    for (const DocumentModels::Field &f : DocumentModels::askedFields(kind())) {
        const QVariant v = asked.value(f.name);
        const QString shown = v.typeId() == QMetaType::QDate ? v.toDate().toString(kDateFormat) : v.toString();
        if (!shown.isEmpty())
            parts << QStringLiteral("%1: %2").arg(m_captions.value(f.name), shown);
    }
    return parts.join(QStringLiteral("; "));
}

// Checks what was typed and the model before anything is recorded; then the
// document takes its number in the transaction that records it, and the
// preview shows it filled.
void TFDocumentos::btnEmitirClick()
{
    const Kind k = kind();
    const QHash<QString, QVariant> values = asked();
    const QString model = DocumentModels::model(k);
    DocumentModels::check(k, model);
    const QString kindName = DocumentModels::name(k);
    const Documents::Issued issued =
        Documents::issue(DM->SQLConnection1(), {m_member, kindName, Today::date(), detailsOf(values)});
    DM->noteDataWritten();
    if (TableDataset *history = DM->TBROL; history->active() && !history->hasPendingChanges()) {
        history->close(); // the new line of the member's history shows
        history->open();
    }
    const QHash<QString, QString> filled = DocumentModels::values(
        m_member, Today::date(), QStringLiteral("%1/%2").arg(issued.number).arg(issued.year), values);
    auto *report = new TFRDocumento(this, k);
    report->setContent(Documents::title(kindName, issued.number, issued.year), DocumentModels::fill(k, model, filled),
                       k == Kind::Transfer ? DocumentModels::fill(k, DocumentModels::returnSlip(), filled) : QString());
    report->preview();
}
