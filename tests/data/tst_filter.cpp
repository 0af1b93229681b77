#include "TestDatabase.h"

#include "dataset/DbError.h"
#include "dataset/LikeFilter.h"
#include "dataset/Win1252.h"

#include <QtTest>

namespace {

// Names as members are really written, each with its code; member 7 has no name.
const QStringList kNames = {"SILVA", "Silvana", "da silva", "JOÃO", "conceição",
                            "O'BRIEN", {}, "ANA BEATRIZ", "BOA", "MÃE DE JOSÉ"};

// Names that hold the wildcards themselves, codes 11 to 13.
const QStringList kWildcardNames = {"50% DE DESCONTO", "A_B", "AXB"};

std::unique_ptr<TDM> openMembers(const TestDatabase &db, const QStringList &names = kNames)
{
    for (int i = 0; i < names.size(); ++i)
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (?, ?)",
                {i + 1, names[i].isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(names[i])});
    auto dm = db.connect();
    dm->TBMEMBRO->open();
    return dm;
}

// The expression the search windows build for what was typed.
QString search(const QString &column, const QString &pattern)
{
    return QStringLiteral("(UPPER(%1) LIKE UPPER('%2'))").arg(column, pattern);
}

bool finds(const QString &pattern, const QString &text)
{
    QByteArray bytes;
    if (!Win1252::encode(text, bytes))
        qFatal("test text outside the code page");
    return LikeFilter::parse(search("MEMNOME", pattern)).matches(std::string_view(bytes.constData(), bytes.size()));
}

// The base letter of an accented letter, as Unicode decomposes it ("Ã" is
// "A" and a tilde); null for letters without an accent. The letters with a
// stroke have no decomposition: their base is written here.
QChar baseLetter(QChar letter)
{
    if (letter == QChar(0xD8) || letter == QChar(0xF8))
        return u'O';
    const QString parts = QString(letter).normalized(QString::NormalizationForm_D);
    if (parts.size() < 2 || parts.at(0).unicode() > 0x7F || !parts.at(0).isLetter())
        return {};
    return parts.at(0).toUpper();
}

} // namespace

class TestFilter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void matching_data()
    {
        QTest::addColumn<QString>("pattern"); // quotes already doubled, as the search writes them
        QTest::addColumn<QStringList>("codes");

        QTest::newRow("substring, any case") << "%sil%" << QStringList{"1", "2", "3"};
        QTest::newRow("accented small letters") << "%joão%" << QStringList{"4"};
        QTest::newRow("accented capitals") << "%ÇÃO%" << QStringList{"5"};
        QTest::newRow("without the tilde") << "%JOAO%" << QStringList{"4"};
        QTest::newRow("without cedilla and tilde, small") << "%conceicao%" << QStringList{"5"};
        QTest::newRow("without accents, two words") << "%MAE DE JOSE%" << QStringList{"10"};
        QTest::newRow("accent typed, none stored") << "%SÍLVA%" << QStringList{"1", "2", "3"};
        QTest::newRow("other accent typed") << "%JOÂO%" << QStringList{"4"};
        QTest::newRow("underscore for an accented letter") << "JO_O" << QStringList{"4"};
        QTest::newRow("percent around folded letters") << "M%E%J%S%" << QStringList{"10"};
        QTest::newRow("whole text") << "silva" << QStringList{"1"};
        QTest::newRow("underscore is one character") << "%S_LVA" << QStringList{"1", "3"};
        QTest::newRow("underscore is not two") << "S_VA" << QStringList{};
        QTest::newRow("percent typed inside") << "%A%B%" << QStringList{"8"};
        QTest::newRow("doubled quote") << "%O''BRIEN%" << QStringList{"6"};
        QTest::newRow("every text, never an empty one")
            << "%%" << QStringList{"1", "2", "3", "4", "5", "6", "8", "9", "10"};
        QTest::newRow("character outside the code page") << "%Ω%" << QStringList{};
        QTest::newRow("no match") << "%XYZ%" << QStringList{};
    }

    void matching()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, codes);
        TestDatabase db;
        auto dm = openMembers(db);
        TableDataset *tb = dm->TBMEMBRO;
        tb->setFilter(search("MEMNOME", pattern));
        tb->setFiltered(true);
        QCOMPARE(walk(*tb, "MEMCODIGO"), codes);
        QCOMPARE(tb->recordCount(), codes.size());
        tb->setFiltered(false);
        QCOMPARE(tb->recordCount(), kNames.size());
    }

    // What a search box hands over in one step finds what the filter
    // expression of its text found, and resets the rows once.
    void aSearchIsItsExpressionInOneStep_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");

        const QStringList everyName{"1", "2", "3", "4", "5", "6", "8", "9", "10", "11", "12", "13"};
        QTest::newRow("letters") << "sil" << QStringList{"1", "2", "3"};
        QTest::newRow("accents left out") << "joao" << QStringList{"4"};
        QTest::newRow("accents typed") << "ÇÃO" << QStringList{"5"};
        QTest::newRow("quote") << "o'b" << QStringList{"6"};
        QTest::newRow("lone quote") << "'" << QStringList{"6"};
        QTest::newRow("percent is any run") << "%" << everyName;
        QTest::newRow("percent after digits") << "50%" << QStringList{"11"};
        QTest::newRow("underscore is one character") << "a_b" << QStringList{"8", "12", "13"};
        QTest::newRow("empty: every name") << "" << everyName;
        QTest::newRow("outside the code page") << "Ω" << QStringList{};
        QTest::newRow("an expression typed") << "')) OR (1=1" << QStringList{};
    }

    void aSearchIsItsExpressionInOneStep()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, codes);
        TestDatabase db;
        auto dm = openMembers(db, kNames + kWildcardNames);
        TableDataset *tb = dm->TBMEMBRO;
        QString pattern = "%" + typed + "%";
        const QString expression = search("MEMNOME", pattern.replace("'", "''"));
        tb->setFilter(expression);
        tb->setFiltered(true);
        QCOMPARE(walk(*tb, "MEMCODIGO"), codes);
        tb->setFilter(search("MEMNOME", "%A%")); // the search before, still on
        tb->last();

        QSignalSpy resets(tb, &Dataset::rowsReset);
        QSignalSpy moves(tb, &Dataset::currentChanged);
        tb->setSearch("MEMNOME", typed);
        QCOMPARE(resets.size(), 1);
        QCOMPARE(moves.size(), 1);
        QCOMPARE(tb->currentIndex(), codes.isEmpty() ? -1 : 0); // from the last row to the first found
        QCOMPARE(tb->filter(), expression);
        QCOMPARE(walk(*tb, "MEMCODIGO"), codes);
    }

    // Every accented letter of the code page, capital or small, and its base
    // letter find each other, in a plain substring search and with "_" and
    // "%" in the pattern; letters that only look alike do not.
    void everyAccentedLetterMatchesItsBaseLetter()
    {
        int accented = 0;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const QChar letter = Win1252::decode(QByteArray(1, char(byte))).at(0);
            const QChar base = baseLetter(letter);
            if (base.isNull())
                continue;
            ++accented;
            const QString stored = QStringLiteral("K") + letter + QStringLiteral("W");
            const QString plain = QStringLiteral("K") + base + QStringLiteral("W");
            const QString other = QString(QChar(base == u'A' ? u'E' : u'A'));
            const QByteArray name = QString(letter).toUtf8();
            QVERIFY2(finds(QStringLiteral("%") + base + QStringLiteral("%"), stored), name);
            QVERIFY2(finds(QStringLiteral("%") + base.toLower() + QStringLiteral("%"), stored), name);
            QVERIFY2(finds(plain.toLower(), stored), name);
            QVERIFY2(finds(QStringLiteral("K_W"), stored), name);
            QVERIFY2(finds(QStringLiteral("%") + base + QStringLiteral("_"), stored), name);
            QVERIFY2(finds(QStringLiteral("%") + letter + QStringLiteral("%"), plain), name);
            QVERIFY2(finds(QStringLiteral("_") + letter + QStringLiteral("%"), stored.toLower()), name);
            QVERIFY2(!finds(QStringLiteral("%") + other + QStringLiteral("%"), stored), name);
            QVERIFY2(!finds(QStringLiteral("K") + base + base + QStringLiteral("%"), stored), name);
        }
        QCOMPARE(accented, 60); // À-Å Ç È-Ë Ì-Ï Ñ Ò-Ö Ø Ù-Ü Ý, their small letters, Š Ž Ÿ š ž ÿ
        for (const char *unlike : {"AE", "OE", "D", "SS", "P"}) // Æ Œ Ð ß Þ are letters of their own
            QVERIFY(!finds(QStringLiteral("%%1%").arg(QLatin1String(unlike)), QStringLiteral("ÆŒÐßÞ")));
        QVERIFY(finds(QStringLiteral("%æœðßþ%"), QStringLiteral("ÆŒÐßÞ")));
    }

    void expressions_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("blanks and small letters") << "  ( upper ( memnome )  like  upper ( '%SIL%' ) ) " << true;
        QTest::newRow("mixed case") << "(Upper(MemNome) Like Upper('%sil%'))" << true;
        QTest::newRow("comparison") << "MEMNOME = 'SILVA'" << false;
        QTest::newRow("condition appended") << "(UPPER(MEMNOME) LIKE UPPER('%A%')) OR 1=1" << false;
        QTest::newRow("statement appended") << "(UPPER(MEMNOME) LIKE UPPER('%A%')); DELETE FROM TMEMBRO" << false;
        QTest::newRow("not like") << "(UPPER(MEMNOME) NOT LIKE UPPER('%A%'))" << false;
        QTest::newRow("other function") << "(LOWER(MEMNOME) LIKE LOWER('%a%'))" << false;
        QTest::newRow("pattern outside UPPER") << "(UPPER(MEMNOME) LIKE '%A%')" << false;
        QTest::newRow("unterminated quote") << "(UPPER(MEMNOME) LIKE UPPER('%A%))" << false;
        QTest::newRow("missing parenthesis") << "(UPPER(MEMNOME) LIKE UPPER('%A%')" << false;
        QTest::newRow("integer column") << search("MEMIGREJA", "%1%") << false;
        QTest::newRow("picture column") << search("MEMFOTO", "%1%") << false;
        QTest::newRow("unknown column") << search("NOME", "%A%") << false;
    }

    void expressions()
    {
        QFETCH(QString, expression);
        QFETCH(bool, accepted);
        TestDatabase db;
        auto dm = openMembers(db);
        TableDataset *tb = dm->TBMEMBRO;
        const QString previous = search("MEMNOME", "%joão%");
        tb->setFilter(previous);
        tb->setFiltered(true);

        const QString error = dbErrorOf([&] { tb->setFilter(expression); });
        if (accepted) {
            QCOMPARE(error, QString());
            QCOMPARE(walk(*tb, "MEMCODIGO"), QStringList({"1", "2", "3"}));
        } else {
            QVERIFY(!error.isEmpty());
            QCOMPARE(tb->filter(), previous);
            QCOMPARE(walk(*tb, "MEMCODIGO"), QStringList({"4"}));
        }
    }

    void filteredNavigationAndLocate()
    {
        TestDatabase db;
        auto dm = openMembers(db);
        TableDataset *tb = dm->TBMEMBRO;
        Field *code = dm->TBMEMBROMEMCODIGO;
        tb->setFilter(search("MEMNOME", "%sil%"));
        tb->last();
        tb->setFiltered(true);
        QCOMPARE(tb->recordCount(), 3);
        QCOMPARE(tb->currentIndex(), 0);
        QVERIFY(tb->bof());
        QCOMPARE(code->asInteger(), 1);

        tb->last();
        tb->setFilter(search("MEMNOME", "%a%"));
        QCOMPARE(tb->currentIndex(), 0); // a new filter starts at its first row
        QCOMPARE(code->asInteger(), 1);
        tb->setFilter(search("MEMNOME", "%sil%"));

        QVERIFY(!tb->locate("MEMCODIGO", {4})); // hidden by the filter
        QCOMPARE(code->asInteger(), 1);
        QVERIFY(tb->locate("MEMNOME", {"da silva"}));
        QCOMPARE(code->asInteger(), 3);
        QVERIFY(!dbErrorOf([&] { tb->locate("MEMCODIGO;MEMNOME", {1}); }).isEmpty());
        QVERIFY(!dbErrorOf([&] { tb->locate("MEMCODIGO", {1, "SILVA"}); }).isEmpty());
        QCOMPARE(code->asInteger(), 3);

        tb->setFiltered(false);
        QCOMPARE(tb->recordCount(), kNames.size());
        QVERIFY(tb->locate("MEMCODIGO", {4}));

        tb->setFilter(search("MEMNOME", "%ZZZ%"));
        tb->setFiltered(true);
        QVERIFY(tb->bof() && tb->eof());
        QVERIFY(code->isNull());
        tb->edit(); // nothing to edit: a new row
        QCOMPARE(tb->state(), Dataset::State::Insert);
        tb->cancel();
    }

    void postedRowsOutsideTheFilterAreKept()
    {
        TestDatabase db;
        auto dm = openMembers(db);
        TableDataset *tb = dm->TBMEMBRO;
        Field *code = dm->TBMEMBROMEMCODIGO;
        Field *name = dm->TBMEMBROMEMNOME;
        tb->setFilter(search("MEMNOME", "%sil%"));
        tb->setFiltered(true);

        tb->edit();
        name->setAsString("SOUZA");
        tb->post();
        QCOMPARE(walk(*tb, "MEMCODIGO"), QStringList({"2", "3"}));

        tb->insert();
        code->setAsInteger(20);
        name->setAsString("PEREIRA");
        tb->post();
        tb->insert();
        code->setAsInteger(21);
        name->setAsString("SILVEIRA");
        tb->post();
        QCOMPARE(code->asInteger(), 21); // a posted row that matches is current
        QCOMPARE(walk(*tb, "MEMCODIGO"), QStringList({"2", "3", "21"}));

        tb->setFiltered(false);
        QCOMPARE(tb->recordCount(), kNames.size() + 2);
        QVERIFY(tb->locate("MEMCODIGO", {1}));
        QCOMPARE(name->asString(), "SOUZA");
        tb->setFiltered(true);
        tb->applyUpdates(0);
        QCOMPARE(db.scalar("SELECT MEMNOME FROM TMEMBRO WHERE MEMCODIGO = 1").toString(), "SOUZA");
        QCOMPARE(db.scalar("SELECT MEMNOME FROM TMEMBRO WHERE MEMCODIGO = 20").toString(), "PEREIRA");
    }
};

QTEST_MAIN(TestFilter)
#include "tst_filter.moc"
