#pragma once

#include "reports/base/ReportWindow.h"

#include <QDate>

class CardRows;
class QueryDataset;

// Membership cards of credit-card size (85.6 by 54 mm), ten to an A4 page in
// two columns, with cutting marks in the margins: the church's name, the
// photograph (or its empty frame), the name, the member number, the
// conversion date and the date printed. The members' texts are read when
// the cards are chosen; each photograph is read from the database for its
// own card and decoded at the size it prints, so a run never holds more than
// one photograph at its full size.
class TFRCarteirinha : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRCarteirinha(QWidget *owner);

    // The cards of the rows the members table shows (every listed member),
    // in their order, or of its current member only.
    void setMembers(bool everyListed);
    int memberCount() const { return int(m_members.size()); }

    static constexpr int kCardWidth = 856, kCardHeight = 540; // tenths of a millimetre
    static constexpr int kCardsPerRow = 2, kRowsPerPage = 5;
    static constexpr int kPhotoDpi = 150; // photographs are decoded for this resolution
    static const QRect kPhotoFrame;       // on the card

    // A picture in its bytes, decoded no larger than `frame` (tenths of a
    // millimetre) at kPhotoDpi, whatever its own size; null when the bytes
    // are no picture.
    static QImage pictureForPrint(const QByteArray &bytes, const QSize &frame);

    QueryDataset *QFoto; // the photograph of one member at a time
    Band *QRBand1, *QRBand2, *QRBand3; // page header, detail (a row of cards), page footer

private:
    struct Member
    {
        QVariant code;
        QString name;
        QDate conversion;
    };
    struct Card
    {
        LabelElement *church, *name, *code, *conversion, *printed;
        PictureElement *photo;
        QList<Element *> elements;
    };

    void addCard(int side);
    void addCuttingMarks();
    void QuickRep1BeforePrint();
    void QRBand2BeforePrint(Band &band);
    void fillCard(Card &card, const Member *member);
    QImage photographOf(const QVariant &code);

    QList<Member> m_members;
    CardRows *m_rows;
    Card m_cards[kCardsPerRow];
    QString m_church;  // read at the start of each run
    QString m_printed; // the date of the run
};
