#include "DemoData.h"

#include "DatabaseCreator.h"
#include "DemoPhotos.h"
#include "uikit/Today.h"
#include "provider/EngineErrors.h"
#include "datamodule/Credentials.h"
#include "datamodule/SchemaUpgrade.h"
#include "datamodule/TaxNumber.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <functional>
#include <memory>
#include <random>

namespace {

// ---- Word lists (texts as the program's registers type them: capitals)

const char *const kMaleNames[] = {
    "JOÃO", "JOSÉ", "ANTÔNIO", "FRANCISCO", "CARLOS", "PAULO", "PEDRO", "LUCAS", "LUIZ", "MARCOS",
    "GABRIEL", "RAFAEL", "DANIEL", "MARCELO", "BRUNO", "EDUARDO", "FELIPE", "RAIMUNDO", "RODRIGO", "SEBASTIÃO",
    "JOAQUIM", "ANDRÉ", "FÁBIO", "MÁRCIO", "SÉRGIO", "VINÍCIUS", "MATEUS", "TIAGO", "OTÁVIO", "CAIO"};
const char *const kFemaleNames[] = {
    "MARIA", "ANA", "FRANCISCA", "ANTÔNIA", "ADRIANA", "JULIANA", "MÁRCIA", "FERNANDA", "PATRÍCIA", "ALINE",
    "SANDRA", "CAMILA", "AMANDA", "BRUNA", "JÉSSICA", "LETÍCIA", "JÚLIA", "LUCIANA", "VANESSA", "MARIANA",
    "GABRIELA", "VERÔNICA", "CONCEIÇÃO", "LÚCIA", "HELENA", "BEATRIZ", "CLÁUDIA", "TERESA", "RITA", "SÔNIA"};
const char *const kSurnames[] = {
    "SILVA", "SANTOS", "OLIVEIRA", "SOUZA", "RODRIGUES", "FERREIRA", "ALVES", "PEREIRA", "LIMA", "GOMES",
    "COSTA", "RIBEIRO", "MARTINS", "CARVALHO", "ALMEIDA", "LOPES", "SOARES", "FERNANDES", "VIEIRA", "BARBOSA",
    "ROCHA", "DIAS", "NASCIMENTO", "ANDRADE", "MOREIRA", "NUNES", "MARQUES", "MACHADO", "MENDES", "FREITAS",
    "CARDOSO", "RAMOS", "GONÇALVES", "SANTANA", "TEIXEIRA", "ARAÚJO", "BRAGA", "PIMENTEL", "ASSUNÇÃO", "GUIMARÃES"};
const char *const kStreets[] = {
    "RUA DAS FLORES", "RUA SÃO JOÃO", "RUA SETE DE SETEMBRO", "RUA TIRADENTES", "AVENIDA DOM PEDRO II",
    "RUA DA CONSOLAÇÃO", "AVENIDA BARÃO DO RIO BRANCO", "AVENIDA GETÚLIO VARGAS", "RUA DOS IPÊS",
    "RUA MARECHAL DEODORO", "TRAVESSA DAS PALMEIRAS", "RUA SANTOS DUMONT", "RUA DA PAZ",
    "AVENIDA QUINZE DE NOVEMBRO", "RUA JOSÉ DE ALENCAR", "RUA CORONEL FRANÇA"};
const char *const kMailDomains[] = {"gmail.com", "hotmail.com", "yahoo.com.br", "uol.com.br", "bol.com.br",
                                    "outlook.com"};

struct City
{
    const char *name;
    const char *state;
    int areaCode;
};
const City kCities[] = {
    {"SÃO PAULO", "SP", 11},      {"CAMPINAS", "SP", 19},        {"RIBEIRÃO PRETO", "SP", 16},
    {"BELO HORIZONTE", "MG", 31}, {"UBERLÂNDIA", "MG", 34},      {"RIO DE JANEIRO", "RJ", 21},
    {"NITERÓI", "RJ", 21},        {"SALVADOR", "BA", 71},        {"FEIRA DE SANTANA", "BA", 75},
    {"CURITIBA", "PR", 41},       {"PORTO ALEGRE", "RS", 51},    {"RECIFE", "PE", 81},
    {"FORTALEZA", "CE", 85},      {"GOIÂNIA", "GO", 62},         {"BELÉM", "PA", 91},
    {"VITÓRIA", "ES", 27},        {"FLORIANÓPOLIS", "SC", 48},   {"BRASÍLIA", "DF", 61}};

struct Position
{
    const char *name;
    double salary;
};
const Position kPositions[] = {{"PASTOR", 4500.00},  {"SECRETÁRIA", 1850.00}, {"ZELADOR", 1412.00},
                               {"TESOUREIRO", 2200.00}, {"MÚSICO", 1600.00},  {"PORTEIRO", 1412.00}};

const char *const kMonthNames[] = {"Janeiro", "Fevereiro", "Março",    "Abril",   "Maio",     "Junho",
                                   "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};

struct Entry
{
    const char *description;
    int minReais;
    int maxReais;
    const char *category;   // one of the starting categories
    int givenByMember;      // percent of these movements with the member who gave
    const char *document;   // the form of its document number; none when empty
};
const Entry kIncomes[] = {{"DÍZIMOS", 300, 6000, "DÍZIMOS", 100, "ENV %1"},
                          {"OFERTAS DO CULTO", 50, 1500, "OFERTAS", 0, ""},
                          {"OFERTA MISSIONÁRIA", 50, 800, "OFERTAS DE MISSÕES", 40, ""},
                          {"DOAÇÃO", 20, 2000, "DOAÇÕES", 60, "REC %1"},
                          {"CAMPANHA DE CONSTRUÇÃO", 100, 3000, "CAMPANHAS E OFERTAS ESPECIAIS", 50, ""},
                          {"VENDA DE BÍBLIAS E LIVROS", 30, 400, "OUTRAS ENTRADAS", 0, ""}};
const Entry kExpenses[] = {{"CONTA DE ENERGIA", 150, 900, "ENERGIA ELÉTRICA", 0, "NF %1"},
                           {"CONTA DE ÁGUA", 60, 350, "ÁGUA E ESGOTO", 0, "NF %1"},
                           {"TELEFONE E INTERNET", 100, 250, "TELEFONE E INTERNET", 0, "NF %1"},
                           {"SALÁRIOS", 1400, 6000, "SALÁRIOS E PREBENDAS", 0, ""},
                           {"MATERIAL DE LIMPEZA", 40, 300, "MANUTENÇÃO E LIMPEZA", 0, "NF %1"},
                           {"ALUGUEL DO SALÃO", 800, 2500, "ALUGUEL", 0, "REC %1"},
                           {"MANUTENÇÃO DO TEMPLO", 100, 2000, "MANUTENÇÃO E LIMPEZA", 0, "NF %1"},
                           {"AJUDA SOCIAL", 50, 600, "AÇÃO SOCIAL", 0, ""}};
const int kWithoutCategory = 4; // percent of movements booked without a category

const char *const kEvents[] = {"CULTO DE ORAÇÃO",     "CULTO DE DOMINGO",   "ESCOLA BÍBLICA DOMINICAL",
                               "ENSAIO DO CORAL",     "REUNIÃO DE JOVENS",  "CULTO DE SANTA CEIA",
                               "REUNIÃO DE OBREIROS", "CULTO DE MISSÕES",   "BATISMO NAS ÁGUAS",
                               "CASAMENTO",           "VIGÍLIA",            "CULTO DE AÇÃO DE GRAÇAS"};

const char *const kCountry = "BRASIL";
const int kPhotoEvery = 25; // one member in so many has a photograph...
const int kMaxPhotos = 40;  // ...and never more than these per run, to keep the file small

// ---- Random choices

class Random
{
public:
    explicit Random(quint32 seed) : m_engine(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <class T, size_t N>
    const T &any(const T (&list)[N]) { return list[between(0, int(N) - 1)]; }
    template <size_t N>
    QString text(const char *const (&list)[N]) { return QString::fromUtf8(any(list)); }
    template <class T>
    const T &any(const QList<T> &list) { return list[between(0, int(list.size()) - 1)]; }

    QString digits(int count)
    {
        QString s;
        for (int i = 0; i < count; ++i)
            s += QChar(char16_t(u'0' + between(0, 9)));
        return s;
    }
    QDate dateBetween(const QDate &first, const QDate &last)
    {
        return QDate::fromJulianDay(
            std::uniform_int_distribution<qint64>(first.toJulianDay(), last.toJulianDay())(m_engine));
    }
    double amount(const Entry &e) { return between(e.minReais * 100, e.maxReais * 100) / 100.0; }

private:
    std::mt19937 m_engine;
};

// ---- People

struct Person
{
    bool male;
    QString given, motherSurname, fatherSurname;
    QString name() const { return (given + u' ' + motherSurname + u' ' + fatherSurname).left(50); }
};

QString givenName(Random &rng, bool male)
{
    const auto one = [&] { return male ? rng.text(kMaleNames) : rng.text(kFemaleNames); };
    const QString first = one();
    if (!rng.chance(25))
        return first;
    QString second;
    do
        second = one();
    while (second == first);
    return first + u' ' + second;
}

// A surname other than `other`, so that no name repeats one.
QString surnameBesides(Random &rng, const QString &other)
{
    QString name;
    do
        name = rng.text(kSurnames);
    while (name == other);
    return name;
}

Person person(Random &rng, bool male)
{
    const QString mother = rng.text(kSurnames);
    return {male, givenName(rng, male), mother, surnameBesides(rng, mother)};
}

// Lower case without accents or blanks, for e-mail addresses.
QString plainLower(const QString &text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.isLetterOrNumber())
            out += c.toLower();
    return out;
}

QString phone(Random &rng, int areaCode, bool mobile)
{
    if (mobile)
        return QStringLiteral("(%1) 9%2-%3").arg(areaCode).arg(rng.digits(4), rng.digits(4));
    return QStringLiteral("(%1) %2%3-%4").arg(areaCode).arg(rng.between(2, 5)).arg(rng.digits(3), rng.digits(4));
}

struct Contact
{
    QString address, city, state;
    QVariant home, work, mobile, email;
};

Contact contact(Random &rng, const Person &p, int code)
{
    const City &city = rng.any(kCities);
    const QString mail = QStringLiteral("%1.%2%3@%4")
                             .arg(plainLower(p.given.section(u' ', 0, 0)), plainLower(p.fatherSurname))
                             .arg(code)
                             .arg(rng.text(kMailDomains));
    return {QStringLiteral("%1, %2").arg(rng.text(kStreets)).arg(rng.between(1, 3999)),
            QString::fromUtf8(city.name),
            QString::fromLatin1(city.state),
            rng.chance(70) ? QVariant(phone(rng, city.areaCode, false)) : QVariant(),
            rng.chance(35) ? QVariant(phone(rng, city.areaCode, false)) : QVariant(),
            rng.chance(90) ? QVariant(phone(rng, city.areaCode, true)) : QVariant(),
            rng.chance(75) ? QVariant(mail) : QVariant()};
}

// A tax number with valid check digits, as "123.456.789-09".
QString cpf(Random &rng)
{
    int d[11];
    for (int i = 0; i < 9; ++i)
        d[i] = rng.between(0, 9);
    for (int k = 9; k < 11; ++k) {
        int sum = 0;
        for (int i = 0; i < k; ++i)
            sum += d[i] * (k + 1 - i);
        d[k] = sum * 10 % 11 % 10;
    }
    QString digits;
    for (int digit : d)
        digits += QString::number(digit);
    return TaxNumber::formatted(TaxNumber::Kind::Cpf, digits);
}

QString rg(Random &rng)
{
    return QStringLiteral("%1.%2.%3-%4").arg(rng.digits(2), rng.digits(3), rng.digits(3), rng.digits(1));
}

// A portrait placeholder: a light silhouette on a coloured square, 150x150 PNG.
// Drawn from shapes only, so it needs no fonts and no GUI application.
QByteArray portrait(Random &rng)
{
    QImage image(150, 150, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(rng.between(0, 359), 110, 190));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 210));
    painter.drawEllipse(QPointF(75, 58), 28, 32);
    painter.drawEllipse(QRectF(22, 100, 106, 100));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString maritalStatus(Random &rng, const QDate &born)
{
    if (born.year() > 2005)
        return QStringLiteral("SOLTEIRO");
    const int n = rng.between(1, 100);
    return QString::fromLatin1(n <= 50   ? "CASADO"
                               : n <= 80 ? "SOLTEIRO"
                               : n <= 88 ? "DIVORCIADO"
                               : n <= 96 ? "VIUVO"
                                         : "OUTRO");
}

// Converted from the age of twelve on, before the end of 2023; younger ones not yet.
QVariant conversionDate(Random &rng, const QDate &born)
{
    const QDate first = born.addYears(12), last(2023, 12, 31);
    if (first > last || rng.chance(10))
        return {};
    return rng.dateBetween(first, last);
}

// ---- Database access

using Rows = QList<QVariantList>;
// Values of one new row, the code first; `index` counts the rows of this run.
using RowMaker = std::function<QVariantList(Random &rng, int index, int code)>;

DbError failure(const QString &table, const QString &text)
{
    return DbError(QStringLiteral("Não foi possível incluir os dados de exemplo em %1.\n%2").arg(table, text));
}

// A connection of its own to the file, closed and removed with this object.
class Connection
{
public:
    explicit Connection(const QString &path)
        : m_name(QStringLiteral("demo-") + QUuid::createUuid().toString(QUuid::Id128))
    {
        QSqlDatabase db = addFirebirdConnection(m_name, path);
        if (!db.open()) {
            const QString text = dbErrorFrom(db.lastError()).text();
            db = {};
            QSqlDatabase::removeDatabase(m_name);
            throw DbError(QStringLiteral("Não foi possível abrir o banco de dados \"%1\".\n%2").arg(path, text));
        }
    }
    ~Connection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

Rows select(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw DbError(dbErrorFrom(q.lastError()).text() + u'\n' + sql);
    Rows rows;
    while (q.next()) {
        QVariantList row;
        for (int c = 0; c < q.record().count(); ++c)
            row << q.value(c);
        rows << row;
    }
    return rows;
}

int nextCode(const QSqlDatabase &db, const QString &table, const QString &codeColumn)
{
    return select(db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(codeColumn, table)).value(0).value(0).toInt() + 1;
}

// The seed of a run's rows of a table (FNV-1a of its name, mixed with the
// first new code): the same on every machine, and new for appended rows.
quint32 seedFor(const QString &table, int firstCode)
{
    quint32 hash = 2166136261u;
    for (QChar c : table)
        hash = (hash ^ c.unicode()) * 16777619u;
    return hash ^ quint32(firstCode);
}

void runInserts(const QSqlDatabase &db, const QString &table, const QStringList &columns, int count, const RowMaker &make)
{
    const int first = nextCode(db, table, columns.first());
    Random rng(seedFor(table, first));
    // Prepared inside the transaction, so that every row joins it.
    QSqlQuery q(db);
    const QString marks = QStringLiteral("?,").repeated(columns.size()).chopped(1);
    if (!q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(u','), marks)))
        throw failure(table, dbErrorFrom(q.lastError()).text());
    for (int i = 0; i < count; ++i) {
        const QVariantList values = make(rng, i, first + i);
        for (int c = 0; c < values.size(); ++c)
            q.bindValue(c, values[c]);
        if (!q.exec())
            throw failure(table, dbErrorFrom(q.lastError()).text());
    }
}

// Adds `count` rows to `table` in one transaction; the first column is the code.
void insertRows(QSqlDatabase db, const QString &table, const QStringList &columns, int count, const RowMaker &make)
{
    if (count <= 0)
        return;
    if (!db.transaction())
        throw failure(table, dbErrorFrom(db.lastError()).text());
    try {
        runInserts(db, table, columns, count, make);
        if (!db.commit())
            throw failure(table, dbErrorFrom(db.lastError()).text());
    } catch (...) {
        db.rollback();
        throw;
    }
}

// ---- The tables

void insertChurchName(const QSqlDatabase &db)
{
    if (!select(db, QStringLiteral("SELECT 1 FROM TPARAMETROS WHERE PARCODIGO = 1")).isEmpty())
        return;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR, PAROBSERVACOES) VALUES (1, ?, ?)"));
    q.addBindValue(QStringLiteral("IGREJA EVANGÉLICA BOAS NOVAS"));
    q.addBindValue(QStringLiteral("Nome da igreja"));
    if (!q.exec())
        throw failure(QStringLiteral("TPARAMETROS"), dbErrorFrom(q.lastError()).text());
}

void insertPositions(const QSqlDatabase &db, int count)
{
    insertRows(db, QStringLiteral("TCARGO"), {"CARCODIGO", "CARDESCRICAO", "CARSALARIO"}, count,
               [](Random &, int, int code) -> QVariantList {
                   // Code 7 starts the list again as "PASTOR 2", and so on.
                   const int kinds = int(std::size(kPositions));
                   const Position &p = kPositions[(code - 1) % kinds];
                   const int round = (code - 1) / kinds;
                   QString name = QString::fromUtf8(p.name);
                   if (round > 0)
                       name += QStringLiteral(" %1").arg(round + 1);
                   return {code, name, p.salary + 150.0 * round};
               });
}

// Employees hold one of the positions there are, with its salary.
void insertEmployees(const QSqlDatabase &db, int count)
{
    const Rows positions = select(db, QStringLiteral("SELECT CARCODIGO, CARSALARIO FROM TCARGO"));
    insertRows(db, QStringLiteral("TFUNCIONARIO"),
               {"FUNCODIGO", "FUNNOME", "FUNCARGO", "FUNENDERECO", "FUNCIDADE", "FUNUF", "FUNPAISNACAO",
                "FUNSALARIO", "FUNTELEFONERES", "FUNTELEFONETRAB", "FUNCELULAR", "FUNEMAIL"},
               count, [&](Random &rng, int, int code) -> QVariantList {
                   const Person p = person(rng, rng.chance(50));
                   const Contact c = contact(rng, p, code);
                   const QVariantList position = positions.isEmpty() ? QVariantList{QVariant(), QVariant()} : rng.any(positions);
                   return {code, p.name(), position[0], c.address, c.city, c.state, QString::fromLatin1(kCountry),
                           position[1], c.home, c.work, c.mobile, c.email};
               });
}

// The photograph of the index-th new member: phone-sized ones for the first
// `sizes.photos`, or else the small placeholder for one in 25.
QVariant memberPhoto(Random &rng, int index, int code, const DemoSizes &sizes, const DemoPhotos *photos)
{
    if (photos)
        return index < sizes.photos ? QVariant(photos->forMember(code)) : QVariant();
    if (sizes.photos == 0)
        return {};
    return index % kPhotoEvery == 0 && index / kPhotoEvery < kMaxPhotos ? QVariant(portrait(rng)) : QVariant();
}

void insertMembers(const QSqlDatabase &db, const DemoSizes &sizes)
{
    const int count = sizes.members;
    std::unique_ptr<DemoPhotos> photos;
    if (sizes.photos > 0 && count > 0)
        photos = std::make_unique<DemoPhotos>(sizes.photoKilobytes);
    insertRows(db, QStringLiteral("TMEMBRO"),
               {"MEMCODIGO", "MEMNOME", "MEMENDERECO", "MEMTELEFONERES", "MEMTELEFONETRAB", "MEMCELULAR",
                "MEMDATANASC", "MEMDATACONVERSAO", "MEMCIDADE", "MEMUF", "MEMPAISNACAO", "MEMNOMEPAI", "MEMNOMEMAE",
                "MEMEMAIL", "MEMFOTO", "MEMCONJUGE", "MEMSEXO", "MEMESTADOCIVIL", "MEMRG", "MEMCPF"},
               count, [&](Random &rng, int index, int code) -> QVariantList {
                   const Person p = person(rng, rng.chance(46));
                   const Contact c = contact(rng, p, code);
                   const QDate born = rng.dateBetween(QDate(1935, 1, 1), QDate(2012, 12, 31));
                   const QString status = maritalStatus(rng, born);
                   const QString father =
                       givenName(rng, true) + u' ' + surnameBesides(rng, p.fatherSurname) + u' ' + p.fatherSurname;
                   const QString mother =
                       givenName(rng, false) + u' ' + p.motherSurname + u' ' + surnameBesides(rng, p.motherSurname);
                   // A wife takes her husband's last surname.
                   const QString family = p.male ? p.fatherSurname : rng.text(kSurnames);
                   const QVariant spouse = status == QLatin1String("CASADO")
                       ? QVariant(givenName(rng, !p.male) + u' ' + surnameBesides(rng, family) + u' ' + family)
                       : QVariant();
                   const QVariant photo = memberPhoto(rng, index, code, sizes, photos.get());
                   return {code, p.name(), c.address, c.home, c.work, c.mobile, born, conversionDate(rng, born),
                           c.city, c.state, QString::fromLatin1(kCountry), father.left(50), mother.left(50), c.email,
                           photo, spouse,
                           QString::fromLatin1(p.male ? "MASCULINO" : "FEMININO"), status, rg(rng), cpf(rng)};
               });
}

// Books follow the latest one month by month; the first is January 2011.
QDate firstNewBookMonth(const QSqlDatabase &db)
{
    const Rows last = select(db, QStringLiteral("SELECT FIRST 1 LIVANO, LIVMES FROM TLIVRO "
                                                "WHERE LIVANO IS NOT NULL AND LIVMES BETWEEN 1 AND 12 "
                                                "ORDER BY LIVANO DESC, LIVMES DESC"));
    return last.isEmpty() ? QDate(2011, 1, 1) : QDate(last[0][0].toInt(), last[0][1].toInt(), 1).addMonths(1);
}

void insertBooks(const QSqlDatabase &db, int count)
{
    const QDate start = firstNewBookMonth(db);
    insertRows(db, QStringLiteral("TLIVRO"), {"LIVCODIGO", "LIVMES", "LIVNOMEMES", "LIVANO", "LIVDESCRICAO"}, count,
               [start](Random &, int index, int code) -> QVariantList {
                   const QDate month = start.addMonths(index);
                   const QString name = QString::fromUtf8(kMonthNames[month.month() - 1]);
                   return {code, month.month(), name, month.year(),
                           QStringLiteral("LIVRO CAIXA %1/%2").arg(name.toUpper()).arg(month.year())};
               });
}

const QString kBooksWithMonth = QStringLiteral("SELECT LIVCODIGO, LIVANO, LIVMES FROM TLIVRO "
                                               "WHERE LIVANO IS NOT NULL AND LIVMES BETWEEN 1 AND 12");

// Refuses, before anything is written, movements that would have no book.
void checkBooksForMovements(const QSqlDatabase &db, const DemoSizes &sizes)
{
    if (sizes.movements > 0 && sizes.books <= 0 && select(db, kBooksWithMonth).isEmpty())
        throw failure(QStringLiteral("TMOVIMETACOES"),
                      QStringLiteral("Não há livros caixa para as movimentações: inclua livros com --livros."));
}

// The category, the member who gave and the document of a movement, when
// the database has them; drawn apart, so the other values stay as they were.
class MovementDetails
{
public:
    explicit MovementDetails(const QSqlDatabase &db)
        : m_available(SchemaUpgrade::categoriesAvailable(db)),
          m_rng(seedFor(QStringLiteral("detalhes"), nextCode(db, QStringLiteral("TMOVIMETACOES"), QStringLiteral("MOVCODIGO"))))
    {
        if (!m_available)
            return;
        for (const QVariantList &row : select(db, QStringLiteral("SELECT CATCODIGO, CATDESCRICAO FROM TCATEGORIA")))
            m_categories.insert(row[1].toString(), row[0]);
        for (const QVariantList &row : select(db, QStringLiteral("SELECT MEMCODIGO FROM TMEMBRO")))
            m_members << row[0];
    }
    bool available() const { return m_available; }
    QVariantList of(const Entry &e)
    {
        const QVariant category = m_rng.chance(kWithoutCategory) ? QVariant()
                                                                 : m_categories.value(QString::fromUtf8(e.category));
        const QVariant member = !m_members.isEmpty() && m_rng.chance(e.givenByMember) ? m_rng.any(m_members) : QVariant();
        const QString form = QString::fromUtf8(e.document);
        const QVariant document = form.isEmpty() || m_rng.chance(25) ? QVariant() : QVariant(form.arg(m_rng.digits(5)));
        return {category, member, document};
    }

private:
    bool m_available;
    Random m_rng;
    QHash<QString, QVariant> m_categories;
    QList<QVariant> m_members;
};

// Each movement goes to one of the books there are, dated inside its month.
void insertMovements(const QSqlDatabase &db, int count)
{
    const Rows books = select(db, kBooksWithMonth);
    MovementDetails details(db);
    QStringList columns{"MOVCODIGO", "MOVDESCRICAO", "MOVLIVRO", "MOVVALOR", "MOVDEBITOCREDITO", "MOVDATA"};
    if (details.available())
        columns << "MOVCATEGORIA" << "MOVMEMBRO" << "MOVDOCUMENTO";
    insertRows(db, QStringLiteral("TMOVIMETACOES"), columns, count,
               [&](Random &rng, int, int code) -> QVariantList {
                   const QVariantList &book = rng.any(books);
                   const QDate month(book[1].toInt(), book[2].toInt(), 1);
                   const bool income = rng.chance(55);
                   const Entry &e = income ? rng.any(kIncomes) : rng.any(kExpenses);
                   QVariantList row{code, QString::fromUtf8(e.description), book[0], rng.amount(e),
                                    QString::fromLatin1(income ? "ENTRADA" : "SAIDA"),
                                    month.addDays(rng.between(0, month.daysInMonth() - 1))};
                   if (details.available())
                       row << details.of(e);
                   return row;
               });
}

// One event in five is today; the others fall within two months of it.
void insertEvents(const QSqlDatabase &db, int count)
{
    const Rows employees = select(db, QStringLiteral("SELECT FUNCODIGO FROM TFUNCIONARIO"));
    const QDate today = Today::date();
    insertRows(db, QStringLiteral("TEVENTO"),
               {"EVECODIGO", "EVEDESCRICAO", "EVEDATA", "EVEHORA", "EVEMINUTOS", "EVEFUNCIONARIO"}, count,
               [&](Random &rng, int index, int code) -> QVariantList {
                   const QDate day = index % 5 == 0 ? today : today.addDays(rng.between(-60, 60));
                   return {code, rng.text(kEvents), day, rng.between(7, 21), 15 * rng.between(0, 3),
                           employees.isEmpty() ? QVariant() : rng.any(employees)[0]};
               });
}

} // namespace

void fillDemoData(const QString &path, const DemoSizes &sizes)
{
    if (!QFileInfo::exists(path))
        createDatabase(path);
    const Connection connection(path);
    const QSqlDatabase db = connection.db();
    checkBooksForMovements(db, sizes);
    insertChurchName(db);
    insertPositions(db, sizes.positions);
    insertEmployees(db, sizes.employees);
    insertMembers(db, sizes);
    insertBooks(db, sizes.books);
    insertMovements(db, sizes.movements);
    insertEvents(db, sizes.events);
}
