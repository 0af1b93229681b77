#include "UMembro.h"

#include "reports/cadastros/UFMembro.h"
#include "reports/cadastros/URCarteirinha.h"
#include "UDocumentos.h"

#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/Messages.h"
#include "uikit/Pictures.h"
#include "dataset/DbError.h"
#include "uikit/FormKit.h"
#include "datamodule/Documents.h"
#include "datamodule/SchemaUpgrade.h"
#include "datamodule/Session.h"
#include "datamodule/TaxNumber.h"
#include "datamodule/UDM.h"
#include "controls/DBComboBox.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBImage.h"
#include "controls/DBLookupComboBox.h"
#include "controls/DBRadioGroup.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

TFMembro *FMembro = nullptr;

std::function<QString(QWidget *)> TFMembro::choosePicture = &TFMembro::openPictureDialog;

namespace {

RecordFormSetup setup()
{
    RecordFormSetup s;
    s.objectName = QStringLiteral("FMembro");
    s.caption = QStringLiteral("Cadastro de Membros");
    s.source = DM->DSMEMBRO;
    s.codeColumn = QStringLiteral("MEMCODIGO");
    s.openOnShow = {DM->TBMEMBRO};
    s.capitals = true;
    s.searchCapitals = true;
    s.searchColumn = QStringLiteral("MEMNOME");
    s.searchLabel = QStringLiteral("BUSCA DE MEMBRO POR NOME: ");
    s.shortcuts = RecordFormSetup::Shortcuts::Register;
    s.reportCaption = QStringLiteral("Gerar Relatório");
    s.reportShortcutCaption = QStringLiteral("Relatório");
    s.saveAndNew = true;
    s.size = QSize(800, 619);
    s.exportName = QStringLiteral("membros");
    return s;
}

// A caption label above its control, as one cell of a row.
QVBoxLayout *cell(QWidget *page, int labelNumber, const QString &caption, QWidget *control)
{
    QVBoxLayout *box = FormKit::captionAbove(page, QStringLiteral("Label%1").arg(labelNumber), caption, control);
    box->setSpacing(1);
    return box;
}

QHBoxLayout *row(std::initializer_list<QLayout *> cells)
{
    auto *r = new QHBoxLayout;
    r->setSpacing(8);
    for (QLayout *c : cells)
        r->addLayout(c);
    r->addStretch();
    return r;
}

} // namespace

TFMembro::TFMembro(QWidget *owner) : RecordForm(owner, setup())
{
    QWidget *page = TabSheet1;
    for (QWidget *p : {TabSheet1, TabSheet2})
        p->setFont(Appearance::font(QStringLiteral("Arial"), 9));
    DataSource *ds = DM->DSMEMBRO;

    const auto edit = [this](const char *name, const char *column, int width) {
        return fieldBox(QString::fromLatin1(name), QString::fromLatin1(column), width);
    };
    DBEdit1 = edit("DBEdit1", "MEMCODIGO", 80);
    DBEdit2 = edit("DBEdit2", "MEMNOME", 440);
    DBEdit3 = edit("DBEdit3", "MEMENDERECO", 440);
    DBEdit4 = edit("DBEdit4", "MEMTELEFONERES", 140);
    DBEdit5 = edit("DBEdit5", "MEMTELEFONETRAB", 140);
    DBEdit6 = edit("DBEdit6", "MEMCELULAR", 140);
    DBEdit7 = edit("DBEdit7", "MEMEMAIL", 280);
    DBEdit12 = edit("DBEdit12", "MEMPAISNACAO", 150);
    DBEdit8 = edit("DBEdit8", "MEMDATANASC", 110);
    DBEdit9 = edit("DBEdit9", "MEMDATACONVERSAO", 110);
    DBEdit10 = edit("DBEdit10", "MEMCIDADE", 150);
    DBEdit11 = edit("DBEdit11", "MEMCONJUGE", 440);
    DBEdit16 = edit("DBEdit16", "MEMCPF", 130);
    DBEdit17 = edit("DBEdit17", "MEMRG", 150);
    DBEdit13 = edit("DBEdit13", "MEMNOMEPAI", 300);
    DBEdit14 = edit("DBEdit14", "MEMNOMEMAE", 300);
    DBEdit15 = edit("DBEdit15", "MEMIGREJA", 80);

    DBComboBox1 = listBox(QStringLiteral("DBComboBox1"), QStringLiteral("MEMUF"), stateCodes(), 60);
    DBComboBox2 = listBox(QStringLiteral("DBComboBox2"), QStringLiteral("MEMESTADOCIVIL"),
                          {QStringLiteral("SOLTEIRO"), QStringLiteral("CASADO"), QStringLiteral("DIVORCIADO"),
                           QStringLiteral("VIUVO"), QStringLiteral("OUTRO")},
                          150);

    // The church column is neither shown nor edited.
    DBLookupComboBox1 = new DBLookupComboBox(page);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setDataField(ds, QStringLiteral("MEMIGREJA"));

    DBRadioGroup1 = new DBRadioGroup(ds, QStringLiteral("MEMSEXO"), QStringLiteral("SEXO"),
                                     {QStringLiteral("MASCULINO"), QStringLiteral("FEMININO")}, page);
    DBRadioGroup1->setObjectName(QStringLiteral("DBRadioGroup1"));

    Foto = new DBImage(ds, QStringLiteral("MEMFOTO"), page);
    Foto->setObjectName(QStringLiteral("Foto"));
    Foto->setFixedSize(Appearance::scaled(QSize(150, 150)));
    Foto->setFrameShape(QFrame::Box);
    Foto->setCursor(Qt::PointingHandCursor);
    btnFoto = new QPushButton(QStringLiteral("Buscar"), page);
    btnFoto->setObjectName(QStringLiteral("btnFoto"));
    btnFoto->setFixedWidth(Appearance::scaled(150));

    // Rows of the page; the photograph stands at the right of the upper ones.
    auto *upper = new QVBoxLayout;
    auto *codeRow = row({cell(page, 1, QStringLiteral("CODIGO"), DBEdit1)});
    codeRow->insertWidget(1, DBRadioGroup1, 0, Qt::AlignBottom);
    upper->addLayout(codeRow);
    upper->addLayout(row({cell(page, 2, QStringLiteral("NOME"), DBEdit2)}));
    upper->addLayout(row({cell(page, 3, QStringLiteral("ENDEREÇO"), DBEdit3)}));
    upper->addLayout(row({cell(page, 4, QStringLiteral("TELEFONE RESID."), DBEdit4),
                          cell(page, 5, QStringLiteral("TELEFONE TRAB."), DBEdit5),
                          cell(page, 6, QStringLiteral("CELULAR"), DBEdit6)}));
    upper->addLayout(row({cell(page, 7, QStringLiteral("EMAIL"), DBEdit7),
                          cell(page, 8, QStringLiteral("PAÍS"), DBEdit12)}));
    auto *photo = cell(page, 9, QStringLiteral("FOTO"), Foto);
    photo->addWidget(btnFoto);
    photo->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(upper, 1);
    top->addLayout(photo);
    entryLayout()->addLayout(top);
    entryLayout()->addLayout(row({cell(page, 10, QStringLiteral("DATA DE NASCIMENTO"), DBEdit8),
                                  cell(page, 11, QStringLiteral("DATA DE CONVERSÃO"), DBEdit9),
                                  cell(page, 12, QStringLiteral("CIDADE"), DBEdit10),
                                  cell(page, 13, QStringLiteral("UF"), DBComboBox1)}));
    entryLayout()->addLayout(row({cell(page, 14, QStringLiteral("ESTADO CIVIL"), DBComboBox2)}));
    entryLayout()->addLayout(row({cell(page, 15, QStringLiteral("CÔNJUGE"), DBEdit11)}));
    entryLayout()->addLayout(row({cell(page, 16, QStringLiteral("CPF"), DBEdit16),
                                  cell(page, 17, QStringLiteral("RG"), DBEdit17)}));
    entryLayout()->addLayout(row({cell(page, 18, QStringLiteral("NOME DO PAI"), DBEdit13),
                                  cell(page, 19, QStringLiteral("NOME DA MÃE"), DBEdit14)}));
    auto *church = cell(page, 20, QStringLiteral("IGREJA"), DBEdit15);
    church->addWidget(DBLookupComboBox1);
    entryLayout()->addLayout(church);
    lblIgreja = page->findChild<QLabel *>(QStringLiteral("Label20"));
    for (QWidget *w : std::initializer_list<QWidget *>{lblIgreja, DBEdit15, DBLookupComboBox1})
        w->setVisible(false);

    setCodeBox(DBEdit1);
    QList<QWidget *> order;
    order << DBEdit1 << DBEdit2 << DBEdit3 << DBEdit4 << DBEdit5 << DBEdit6 << DBEdit7 << DBEdit12 << DBEdit8
          << DBEdit9 << DBEdit10 << DBComboBox1 << DBComboBox2 << DBEdit11 << DBEdit16 << DBEdit17 << DBEdit13
          << DBEdit14 << DBEdit15 << DBLookupComboBox1 << DBRadioGroup1->button(0) << DBRadioGroup1->button(1)
          << btnFoto;
    setTabChain(order);
    for (QWidget *w : order.mid(1))
        if (w->parentWidget() != DBRadioGroup1)
            addEditable(w);
    addEditable(DBRadioGroup1);
    addEditable(Foto);
    setFirstField(DBEdit2);

    btnCarteirinha = addButton(QStringLiteral("btnCarteirinha"), QStringLiteral("Carteirinha"),
                               QStringLiteral("carteirinha"), CommandState::Browse, [this] { btnCarteirinhaClick(); });
    btnCarteirinha->setFixedSize(btnRelatorio->size()); // as wide as "Gerar Relatório"
    btnDocumentos = addButton(QStringLiteral("btnDocumentos"), QStringLiteral("Documentos"), QStringLiteral("imprimir"),
                              CommandState::Browse, [this] { btnDocumentosClick(); });
    btnDocumentos->setFixedSize(btnRelatorio->size());
    // Issuing records the document: for the profiles that keep the members'
    // documents, on a database that has them.
    command(btnDocumentos)->setVisible(Session::mayChange(Area::Documents)
                                       && SchemaUpgrade::available(DM->SQLConnection1(), Documents::kLevel));

    connectGuarded(Foto, &DBImage::clicked, this, [this] { FotoClick(); });
    connectGuarded(btnFoto, &QPushButton::clicked, this, [this] { btnFotoClick(); });

    if (Roll::available())
        buildRollPage();

    DBGrid1->addColumn(QStringLiteral("MEMNOME"), QStringLiteral("NOME"), 274);
    DBGrid1->addColumn(QStringLiteral("MEMENDERECO"), QStringLiteral("ENDEREÇO"), 344);
    DBGrid1->addColumn(QStringLiteral("MEMTELEFONERES"), QStringLiteral("TELEFONE"), 105);
    DBGrid1->addColumn(QStringLiteral("MEMEMAIL"), QStringLiteral("EMAIL"), 125);
    finishLayout();
}

QString TFMembro::openPictureDialog(QWidget *parent)
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    const QString filter = QStringLiteral("Imagens (%1);;Todos os arquivos (*)").arg(patterns.join(u' '));
    // The open-picture dialog, with a preview of the chosen file beside the list.
    QFileDialog dialog(parent, QStringLiteral("Abrir imagem"), QString(), filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto *preview = new QLabel(QStringLiteral("(sem visualização)"), &dialog);
    preview->setFixedSize(Appearance::scaled(QSize(160, 160)));
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), Qt::AlignTop);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString &file) {
        QFile picture(file);
        const QImage image = picture.size() <= kLargestPhotograph && picture.open(QIODevice::ReadOnly)
                                 ? Pictures::fittedInto(picture.readAll(), preview->size())
                                 : QImage();
        if (image.isNull())
            preview->setText(QStringLiteral("(sem visualização)"));
        else
            preview->setPixmap(QPixmap::fromImage(image));
    });
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

// The file goes into MEMFOTO, reduced when it is a large picture (a phone's
// photo of several megabytes is stored at a size that prints sharply); the
// box shows it again by itself. A file above the size limit is refused before
// it is read; a file that is no picture is taken as it is, and the user is
// told that it cannot be shown.
void TFMembro::FotoClick()
{
    const QString path = choosePicture(this);
    if (path.isEmpty())
        return;
    const qint64 size = QFileInfo(path).size();
    if (size > kLargestPhotograph)
        throw DbError(QStringLiteral("A fotografia \"%1\" tem %2 MB; o tamanho máximo é %3 MB. "
                                     "Reduza a imagem e escolha-a de novo. A fotografia do membro não mudou.")
                          .arg(path)
                          .arg(double(size) / (1024 * 1024), 0, 'f', 1)
                          .arg(kLargestPhotograph / (1024 * 1024)));
    DM->TBMEMBROMEMFOTO->loadFromFile(path, Pictures::forStorage);
    if (!QImageReader(path).canRead())
        Messages::error(QStringLiteral("O arquivo \"%1\" não é uma imagem que o programa consiga mostrar. "
                                       "Para manter a fotografia anterior, clique em Cancelar.")
                            .arg(path));
}

// A CPF whose check digits are wrong is saved only when the user says so;
// every CPF saved is stored as "000.000.000-00" (older rows have hyphens).
void TFMembro::btnSalvarClick()
{
    DM->DSMEMBRO->updateRecord(); // what the focused box holds
    Field *cpf = DM->TBMEMBROMEMCPF;
    if (const QString doubt = TaxNumber::doubtOn(TaxNumber::Kind::Cpf, cpf->asString());
        !doubt.isEmpty() && !Messages::question(doubt)) {
        DBEdit16->setFocus();
        return;
    }
    if (!cpf->isNull())
        cpf->setAsString(TaxNumber::formatted(TaxNumber::Kind::Cpf, cpf->asString()));
    RecordForm::btnSalvarClick();
    if (TabRol && PageControl1->currentWidget() == TabRol)
        refreshHistory(); // with the rows the save added

}

void TFMembro::btnRelatorioClick()
{
    FormKit::openModal(FFMembro, this);
}

// The current member's card, or, when more than one member is listed and the
// user says so, the cards of every member the search shows.
void TFMembro::btnCarteirinhaClick()
{
    TableDataset *members = DM->TBMEMBRO;
    if (members->isEmpty()) {
        Messages::information(QStringLiteral("Não há membro listado para imprimir a carteirinha."));
        return;
    }
    const QString situation = Roll::situationOf(DM->TBMEMBROMEMSITUACAO->value());
    const bool every = members->recordCount() > 1
        && Messages::question(QStringLiteral("Imprimir as carteirinhas de todos os membros listados?"));
    if (!every && situation != Roll::kActive) {
        Messages::information(QStringLiteral("%1 não está ativo no rol (situação %2): a carteirinha é só de membros ativos.")
                                  .arg(DM->TBMEMBROMEMNOME->asString(), situation));
        return;
    }
    auto *cards = new TFRCarteirinha(this);
    cards->setMembers(every);
    cards->preview();
}

// The letters and certificates of the current member.
void TFMembro::btnDocumentosClick()
{
    if (DM->TBMEMBRO->isEmpty()) {
        Messages::information(QStringLiteral("Não há membro listado para emitir um documento."));
        return;
    }
    FormKit::openModal(FDocumentos, this);
}
