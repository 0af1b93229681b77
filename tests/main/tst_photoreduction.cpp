// Photographs stored larger than the program stores them, found and stored
// again as "Buscar" stores a chosen file, on a real database: the large ones
// reduced, every other picture, column and row as it was; a cancel between
// batches keeps what was done.
#include "TestDatabase.h"

#include "backup/Backup.h"
#include "main/PhotoReduction.h"
#include "uikit/Pictures.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

// The JPEG with a comment of `bytes` after its start marker, as a camera's
// EXIF block lies before the frame header.
QByteArray withComment(const QByteArray &jpeg, int bytes)
{
    QByteArray segment("\xFF\xFE", 2);
    segment += char((bytes + 2) >> 8);
    segment += char((bytes + 2) & 0xFF);
    return jpeg.left(2) + segment + QByteArray(bytes, 'c') + jpeg.mid(2);
}

// Every row of a table with its picture column left out.
QList<QVariantList> otherColumns(const TestDatabase &db, const QString &table, const QString &photoColumn)
{
    const int photoAt = db.scalar("SELECT RDB$FIELD_POSITION FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = ? "
                                  "AND RDB$FIELD_NAME = ?",
                                  {table, photoColumn})
                            .toInt();
    QList<QVariantList> rows = db.rows("SELECT * FROM " + table + " ORDER BY 1");
    for (QVariantList &row : rows)
        row.removeAt(photoAt);
    return rows;
}

// Members 1 to 6 and an employee: three photographs too large (a phone's
// JPEG with a block before its frame header, a bitmap of over a megabyte,
// an employee's PNG), two of the right size, a blob that is no picture, a
// member without one.
struct Photographs
{
    TestDatabase db;
    const QByteArray phone = withComment(noisyPicture(QSize(2400, 1800), "JPG"), 30000);
    const QByteArray bitmap = noisyPicture(QSize(700, 600), "BMP");
    const QByteArray employee = noisyPicture(QSize(1300, 1600), "PNG");
    const QByteArray right = noisyPicture(QSize(1200, 900), "JPG", 85, 4);
    const QByteArray small = noisyPicture(QSize(300, 200), "JPG", 85);
    const QByteArray notAPicture = QByteArray(300 * 1024, 'x');

    Photographs()
    {
        const QString member = "INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMCIDADE, MEMFOTO) VALUES (?, ?, 'ARARAQUARA', ?)";
        const QList<std::pair<QString, QByteArray>> rows{{"ANA", phone},  {"BIA", right},       {"CAIO", notAPicture},
                                                         {"DITO", bitmap}, {"EVA", QByteArray()}, {"FABIO", small}};
        for (int i = 0; i < rows.size(); ++i)
            db.exec(member, {i + 1, rows[i].first,
                             rows[i].second.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : rows[i].second});
        db.exec("INSERT INTO TFUNCIONARIO (FUNCODIGO, FUNNOME, FUNFOTO) VALUES (1, 'ZELADOR', ?)", {employee});
    }

    QList<QByteArray> stored() const
    {
        QList<QByteArray> photos;
        for (const QVariantList &row : db.rows("SELECT MEMFOTO FROM TMEMBRO ORDER BY MEMCODIGO"))
            photos << row[0].toByteArray();
        photos << db.scalar("SELECT FUNFOTO FROM TFUNCIONARIO").toByteArray();
        return photos;
    }
};

} // namespace

class TestPhotoReduction : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void largePhotographsStoredAsBuscarStoresThem()
    {
        Photographs p;
        const QList<QVariantList> members = otherColumns(p.db, "TMEMBRO", "MEMFOTO");
        const QList<QVariantList> employees = otherColumns(p.db, "TFUNCIONARIO", "FUNFOTO");
        Backup::withConnection(p.db.path(), [&](const QSqlDatabase &c) {
            const PhotoReduction::Survey survey = PhotoReduction::survey(c);
            QStringList found;
            for (const PhotoReduction::StoredPhoto &s : survey.photos)
                found << QString("%1 %2").arg(s.table).arg(s.code);
            QCOMPARE(found, (QStringList{"TMEMBRO 1", "TMEMBRO 4", "TFUNCIONARIO 1"}));
            QCOMPARE(survey.bytes, p.phone.size() + p.bitmap.size() + p.employee.size());
            QList<int> steps;
            const PhotoReduction::Outcome outcome =
                PhotoReduction::reduce(c, survey.photos, false, [&](int done, int total) { steps << done << total; });
            QCOMPARE(steps, (QList<int>{1, 3, 2, 3, 3, 3}));
            QCOMPARE(outcome.reduced, 3);
            QCOMPARE(outcome.left, 0);
            QVERIFY(!outcome.cancelled);
            QCOMPARE(outcome.bytesBefore, survey.bytes);
            QVERIFY(PhotoReduction::survey(c).isEmpty());
        });
        const QList<QByteArray> stored = p.stored();
        QCOMPARE(stored[0], Pictures::forStorage(p.phone));
        QCOMPARE(Pictures::sizeOf(stored[0]), QSize(1200, 900));
        QCOMPARE(Pictures::sizeOf(stored[3]), QSize(700, 600)); // as many pixels, as JPEG
        QCOMPARE(Pictures::sizeOf(stored[6]), QSize(975, 1200));
        for (int i : {0, 3, 6})
            QVERIFY(stored[i].startsWith("\xFF\xD8") && stored[i].size() < 500 * 1024); // JPEG
        QCOMPARE(stored[1], p.right);
        QCOMPARE(stored[2], p.notAPicture);
        QVERIFY(stored[4].isNull());
        QCOMPARE(stored[5], p.small);
        QCOMPARE(otherColumns(p.db, "TMEMBRO", "MEMFOTO"), members);
        QCOMPARE(otherColumns(p.db, "TFUNCIONARIO", "FUNFOTO"), employees);
    }

    // A cancel after the first batch: that batch stays stored, the rest
    // stays as it was. A photograph changed since the survey is left alone.
    void cancelKeepsWhatWasDone()
    {
        Photographs p;
        Backup::withConnection(p.db.path(), [&](const QSqlDatabase &c) {
            const PhotoReduction::Survey survey = PhotoReduction::survey(c);
            std::atomic_bool cancel = false;
            const PhotoReduction::Outcome outcome = PhotoReduction::reduce(
                c, survey.photos, cancel, [&](int done, int) { cancel = done == 1; }, 1);
            QVERIFY(outcome.cancelled);
            QCOMPARE(outcome.reduced, 1);
            QCOMPARE(outcome.left, 2);
            const QList<QByteArray> stored = p.stored();
            QCOMPARE(Pictures::sizeOf(stored[0]), QSize(1200, 900));
            QCOMPARE(stored[3], p.bitmap);
            QCOMPARE(stored[6], p.employee);

            QVERIFY(QSqlQuery(c).exec("UPDATE TMEMBRO SET MEMFOTO = MEMFOTO || 'x' WHERE MEMCODIGO = 4"));
            const PhotoReduction::Outcome rest = PhotoReduction::reduce(c, survey.photos.mid(1), false, {});
            QCOMPARE(rest.reduced, 1);
            QCOMPARE(rest.left, 1);
        });
        const QList<QByteArray> stored = p.stored();
        QCOMPARE(stored[3], p.bitmap + 'x');
        QCOMPARE(Pictures::sizeOf(stored[6]), QSize(975, 1200));
    }
};

QTEST_MAIN(TestPhotoReduction)
#include "tst_photoreduction.moc"
