// Photographs read on demand: tables and report queries hold no picture
// bytes, a picture is fetched from the database when it is asked for and
// dropped again once it is written; and pictures chosen by the user are
// stored at a sensible size.
#include "TestDatabase.h"

#include "uikit/Pictures.h"
#include "controls/DBImage.h"
#include "provider/QueryDataset.h"
#include "reports/engine/Report.h"

#include <QBuffer>
#include <QImageReader>
#include <QtTest>

namespace {

// A picture of `size` whose left half is red and right half blue, encoded as `format`.
QByteArray picture(QSize size, const char *format, int quality = -1, QImageIOHandler::Transformations turned = {})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() / 2; ++x)
            image.setPixel(x, y, qRgb(230, 0, 0));
    return encoded(image, format, quality, turned);
}

QSize storedSize(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    return reader.read().size();
}

bool heldInMemory(const TableDataset *table, int row, int column)
{
    return !isStoredBlob(table->rowValues(row).at(column));
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT
    const QByteArray first = picture(QSize(300, 200), "PNG");
    const QByteArray second = picture(QSize(120, 90), "JPG", 90);

private slots:
    void initTestCase() { setUpTestProgram(); }

    void readOnDemandAndDroppedOnceWritten()
    {
        TestDatabase db;
        const QString insert = "INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMFOTO) VALUES (?, ?, ?)";
        db.exec(insert, {1, "ANA", first});
        db.exec(insert, {2, "BIA", QVariant(QMetaType::fromType<QByteArray>())});
        auto dm = db.connect();
        TableDataset *members = dm->TBMEMBRO;
        Field *photo = dm->TBMEMBROMEMFOTO;
        const int column = photo->index();
        members->open();
        QVERIFY(!heldInMemory(members, 0, column)); // opening read no picture bytes
        DBImage box(dm->DSMEMBRO, "MEMFOTO");
        box.setFixedSize(150, 150);
        members->first();
        QCOMPARE(photo->asBytes(), first); // the stored one, fetched when asked for
        QVERIFY(box.hasPicture());
        QCOMPARE(box.pictureSize(), QSize(300, 200));
        members->next();
        QVERIFY(photo->isNull());
        QVERIFY(!box.hasPicture() && box.text().isEmpty());

        // Loaded and cancelled: the stored one again, nothing pending.
        members->first();
        members->edit();
        photo->setAsBytes(second);
        QCOMPARE(box.pictureSize(), QSize(120, 90));
        members->cancel();
        QCOMPARE(photo->asBytes(), first);
        QCOMPARE(box.pictureSize(), QSize(300, 200));
        QVERIFY(!members->hasPendingChanges());

        // Changed and saved: written, read back from the database, not kept in memory.
        members->edit();
        photo->setAsBytes(second);
        members->post();
        QVERIFY(heldInMemory(members, 0, column));
        members->applyUpdates(0);
        QCOMPARE(db.scalar("SELECT MEMFOTO FROM TMEMBRO WHERE MEMCODIGO = 1").toByteArray(), second);
        QVERIFY(!heldInMemory(members, 0, column));
        QCOMPARE(photo->asBytes(), second);

        // A new member's picture is written with it; a changed name leaves the picture.
        members->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(3);
        photo->setAsBytes(first);
        members->post();
        members->first();
        members->edit();
        dm->TBMEMBROMEMNOME->setAsString("ANA MARIA");
        members->applyUpdates(0);
        QStringList names;
        QList<QByteArray> photos;
        for (const QVariantList &row : db.rows("SELECT MEMNOME, MEMFOTO FROM TMEMBRO ORDER BY MEMCODIGO")) {
            names << row[0].toString();
            photos << row[1].toByteArray();
        }
        QCOMPARE(names, (QStringList{"ANA MARIA", "BIA", ""}));
        QCOMPARE(photos, (QList<QByteArray>{second, {}, first}));
    }

    // The row is found by its code and every other value but the picture:
    // another program's new picture neither blocks a change nor is overwritten.
    void changeOfARowIgnoresAPictureChangedMeanwhile()
    {
        TestDatabase db;
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMFOTO) VALUES (1, 'ANA', ?)", {first});
        auto dm = db.connect();
        dm->TBMEMBRO->open();
        db.exec("UPDATE TMEMBRO SET MEMFOTO = ? WHERE MEMCODIGO = 1", {second});
        QCOMPARE(dm->TBMEMBROMEMFOTO->asBytes(), second); // fetched as the database holds it now
        dm->TBMEMBRO->edit();
        dm->TBMEMBROMEMNOME->setAsString("ANA MARIA");
        dm->TBMEMBRO->applyUpdates(0);
        QCOMPARE(db.rows("SELECT MEMNOME, MEMFOTO FROM TMEMBRO"), (QList<QVariantList>{{"ANA MARIA", second}}));
    }

    void reportQueriesFetchPicturesWhileOpen()
    {
        TestDatabase db;
        const QString insert = "INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMFOTO) VALUES (?, ?, ?)";
        db.exec(insert, {1, "ANA", first});
        db.exec(insert, {2, "BIA", QVariant(QMetaType::fromType<QByteArray>())});
        db.exec(insert, {3, "CIA", second});
        auto dm = db.connect();
        QueryDataset q("QMembro", dm->connectionName());
        q.setSql({"SELECT TMEMBRO.* FROM TMEMBRO WHERE MEMCODIGO <> :CODIGO ORDER BY MEMCODIGO"});
        q.setParam("codigo", 2);
        q.open();
        QCOMPARE(q.recordCount(), 2);
        QCOMPARE(q.fieldByName("MEMFOTO")->asBytes(), first);
        q.next();
        QCOMPARE(q.fieldByName("MEMFOTO")->asBytes(), second);
        q.close();
        dm.reset(); // the query's read is over: the connection closes cleanly

        // A sheet of a phone's photograph is printed at 300 dpi, not at the photograph's size.
        db.exec("UPDATE TMEMBRO SET MEMFOTO = ? WHERE MEMCODIGO = 1", {picture(QSize(3000, 3000), "JPG", 80)});
        dm = db.connect("R");
        QueryDataset sheet("QMembro", dm->connectionName());
        sheet.setSql({"SELECT * FROM TMEMBRO WHERE MEMCODIGO = 1"});
        sheet.open();
        Report report;
        report.dataset = &sheet;
        report.addBand(Band::Kind::Detail, "QRBand1", 500)->add<DataImageElement>("QRDBImage1", QRect(0, 0, 397, 397))->column =
            "MEMFOTO";
        const ReportRun run = report.run();
        QCOMPARE(run.images().size(), 1);
        const QSize printed = run.images().at(0).size();
        QVERIFY2(printed.width() >= 469 && printed.width() <= 470, qPrintable(QString::number(printed.width())));
        QCOMPARE(printed.height(), printed.width());
    }

    void largePicturesAreStoredReducedSmallOnesAsTheyAre()
    {
        const QByteArray wide = picture(QSize(3000, 1500), "PNG");
        const QByteArray reduced = Pictures::forStorage(wide);
        QCOMPARE(storedSize(reduced), QSize(1200, 600)); // the longer side 1,200, proportions kept
        QVERIFY(reduced.startsWith("\xFF\xD8"));          // as JPEG
        const QImage back = QImage::fromData(reduced);
        QVERIFY(back.pixelColor(300, 300).red() > 200 && back.pixelColor(900, 300).blue() > 200);

        const QByteArray tall = picture(QSize(1000, 2000), "JPG", 90);
        QCOMPARE(storedSize(Pictures::forStorage(tall)), QSize(600, 1200));

        const QByteArray small = picture(QSize(1200, 800), "PNG");
        QCOMPARE(Pictures::forStorage(small), small); // not over 1,200: the file's bytes as they are

        // A bitmap of more than a megabyte: stored as JPEG of its own size; a small one as it is.
        const QByteArray bitmap = picture(QSize(800, 600), "BMP");
        QCOMPARE(storedSize(Pictures::forStorage(bitmap)), QSize(800, 600));
        QVERIFY(Pictures::forStorage(bitmap).startsWith("\xFF\xD8"));
        const QByteArray icon = picture(QSize(100, 100), "BMP");
        QCOMPARE(Pictures::forStorage(icon), icon);
        const QByteArray notAPicture("não é uma imagem");
        QCOMPARE(Pictures::forStorage(notAPicture), notAPicture);

        // A camera's photograph taken sideways is stored upright.
        const QByteArray sideways = picture(QSize(2400, 1600), "JPG", 90, QImageIOHandler::TransformationRotate90);
        if (storedSize(sideways) != QSize(1600, 2400))
            QSKIP("Qt's JPEG writer here does not record the orientation");
        const QByteArray upright = Pictures::forStorage(sideways);
        QCOMPARE(storedSize(upright), QSize(800, 1200));
        QCOMPARE(QImage::fromData(upright).size(), QSize(800, 1200)); // turned in its pixels, not by a tag
    }

    // The size from the start of a file: a JPEG's frame header may lie after
    // a block of tens of kilobytes, whose length tells how far to read.
    void sizeFromTheStartOfTheFile()
    {
        const QByteArray plain = picture(QSize(1600, 1200), "JPG", 90);
        const QByteArray block = QByteArray("\xFF\xFE\x75\x32", 4) + QByteArray(0x7530, 'c'); // 30 KB comment
        const QByteArray tagged = plain.left(2) + block + plain.mid(2);
        qint64 needed = -1;
        QCOMPARE(Pictures::sizeFromStart(plain.left(4096), needed), QSize(1600, 1200));
        QCOMPARE(Pictures::sizeFromStart(tagged.left(4096), needed), QSize());
        QVERIFY2(needed > 30000 && needed < 40000, qPrintable(QString::number(needed))); // not the whole file
        QCOMPARE(Pictures::sizeFromStart(tagged.left(needed), needed), QSize(1600, 1200));
        QCOMPARE(Pictures::sizeFromStart(picture(QSize(300, 200), "PNG").left(64), needed), QSize(300, 200));
        QCOMPARE(Pictures::sizeFromStart("não é uma imagem", needed), QSize());
        QCOMPARE(needed, 0);
    }

    void theBoxDecodesOnlyWhatItShows()
    {
        const QByteArray wide = picture(QSize(3000, 1500), "JPG", 90);
        const QImage part = Pictures::centredPart(wide, QSize(150, 150));
        QCOMPARE(part.size(), QSize(150, 150));
        QVERIFY(part.pixelColor(10, 75).red() > 200);   // the middle of the picture: red on the left
        QVERIFY(part.pixelColor(140, 75).blue() > 200); // and blue on the right
        QCOMPARE(Pictures::centredPart(picture(QSize(100, 40), "PNG"), QSize(150, 150)).size(), QSize(100, 40));
        QCOMPARE(Pictures::fittedInto(wide, QSize(600, 600)).size(), QSize(600, 300));
        QVERIFY(Pictures::centredPart("lixo", QSize(150, 150)).isNull());
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
