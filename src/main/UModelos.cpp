#include "UModelos.h"

#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QToolButton>

TFModelos *FModelos = nullptr;

using DocumentModels::Kind;

TFModelos::TFModelos(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FModelos"));
    setWindowTitle(QStringLiteral("Modelos de Documentos"));
    FormKit::whiteBackground(this);
    resize(Appearance::scaled(QSize(880, 560)));

    cbTipo = new QComboBox(this);
    cbTipo->setObjectName(QStringLiteral("cbTipo"));
    for (Kind k : DocumentModels::kinds())
        cbTipo->addItem(DocumentModels::name(k), int(k));
    txtModelo = new QPlainTextEdit(this);
    txtModelo->setObjectName(QStringLiteral("txtModelo"));
    txtModelo->setTabChangesFocus(true);
    lstCampos = new QListWidget(this);
    lstCampos->setObjectName(QStringLiteral("lstCampos"));
    lblOrigem = FormKit::captionLabel(this, QStringLiteral("lblOrigem"), QString(), nullptr);
    const auto caption = [this](const char *name, const QString &text, QWidget *buddy) {
        return FormKit::captionLabel(this, QString::fromLatin1(name), text, buddy, 0, true);
    };
    Label1 = caption("Label1", QStringLiteral("DOCUMENTO"), cbTipo);
    Label2 = caption("Label2", QStringLiteral("TEXTO DO MODELO"), txtModelo);
    Label3 = caption("Label3", QStringLiteral("CAMPOS (duplo clique insere no texto)"), lstCampos);

    const auto button = [this](const char *name, const QString &text, const char *icon) {
        QToolButton *b = FormKit::pictureButton(this, QString::fromLatin1(name), text,
                                                QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon)), false);
        b->setMinimumSize(Appearance::scaled(QSize(100, 60)));
        return b;
    };
    btnSalvar = button("btnSalvar", QStringLiteral("Salvar"), "salvar");
    btnRestaurar = button("btnRestaurar", QStringLiteral("Restaurar Modelo Original"), "restaurar");
    btnSair = button("btnSair", QStringLiteral("Sair"), "sair");
    connectGuarded(btnSalvar, &QToolButton::clicked, this, [this] { btnSalvarClick(); });
    connectGuarded(btnRestaurar, &QToolButton::clicked, this, [this] { btnRestaurarClick(); });
    connectGuarded(btnSair, &QToolButton::clicked, this, [this] { reject(); });
    connectGuarded(cbTipo, &QComboBox::currentIndexChanged, this, [this] { cbTipoChange(); });
    connectGuarded(lstCampos, &QListWidget::itemDoubleClicked, this, [this] { lstCamposDblClick(); });
    layOut();
    showModel(kind());
}

void TFModelos::layOut()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(20, 16, 20, 14);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(cbTipo, 1, 0);
    grid->addWidget(lblOrigem, 1, 1);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Label3, 2, 1);
    grid->addWidget(txtModelo, 3, 0);
    grid->addWidget(lstCampos, 3, 1);
    grid->setRowStretch(3, 1);
    grid->addLayout(FormKit::centredRow({btnSalvar, btnRestaurar, btnSair}), 4, 0, 1, 2);
    FormKit::tabChain({cbTipo, txtModelo, lstCampos});
}

Kind TFModelos::kind() const
{
    return Kind(cbTipo->currentData().toInt());
}

// The model in use for `k`, with its fields.
void TFModelos::showModel(Kind k)
{
    m_shownKind = int(k);
    m_shownText = DocumentModels::model(k);
    txtModelo->setPlainText(m_shownText);
    lstCampos->clear();
    for (const DocumentModels::Field &f : DocumentModels::fields(k))
        lstCampos->addItem(QStringLiteral("{%1} - %2").arg(f.name, f.description));
    lblOrigem->setText(DocumentModels::hasOwnModel(k) ? QStringLiteral("Modelo da igreja")
                                                      : QStringLiteral("Modelo original do programa"));
}

bool TFModelos::edited() const
{
    return txtModelo->toPlainText() != m_shownText;
}

bool TFModelos::mayDropEdits()
{
    return !edited() || Messages::question(QStringLiteral("O texto alterado não foi salvo. Deseja descartá-lo ?"));
}

// Another kind: its model, unless the user keeps the edited text of the one shown.
void TFModelos::cbTipoChange()
{
    if (int(kind()) == m_shownKind)
        return;
    if (!mayDropEdits()) {
        const QSignalBlocker quiet(cbTipo);
        cbTipo->setCurrentIndex(cbTipo->findData(m_shownKind));
        return;
    }
    showModel(kind());
}

// A refused text (an unknown field) stays on screen as typed.
void TFModelos::btnSalvarClick()
{
    DocumentModels::store(kind(), txtModelo->toPlainText());
    showModel(kind());
    Messages::information(QStringLiteral("Modelo salvo."));
}

void TFModelos::btnRestaurarClick()
{
    if (!Messages::question(QStringLiteral("Voltar ao modelo original de \"%1\"? O texto da igreja para este "
                                           "documento será apagado.")
                                .arg(DocumentModels::name(kind()))))
        return;
    DocumentModels::store(kind(), DocumentModels::original(kind()));
    showModel(kind());
}

void TFModelos::lstCamposDblClick()
{
    const QListWidgetItem *item = lstCampos->currentItem();
    if (!item)
        return;
    txtModelo->insertPlainText(item->text().section(QStringLiteral(" - "), 0, 0));
    txtModelo->setFocus();
}

void TFModelos::reject()
{
    if (mayDropEdits())
        QDialog::reject();
}
