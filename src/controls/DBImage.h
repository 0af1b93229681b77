#pragma once

#include "DataControl.h"

#include <QImage>
#include <QLabel>

// A picture box bound to a blob column: the bytes are shown as a picture at
// its own size, centred and cut at the edges of the box (the window gives the
// box its fixed size); only the part inside the box is decoded, so a large
// photograph shows at once. Bytes that are no picture show "Imagem inválida"
// and stay in the column. Only shows: the window loads a picture into the field.
class DBImage : public QLabel
{
    Q_OBJECT
public:
    // DbError when the dataset has no such column.
    DBImage(DataSource *source, const QString &column, QWidget *parent = nullptr);

    static inline const QString kInvalidPicture = QStringLiteral("Imagem inválida");

    Field *field() const { return m_link->field(); }
    DataSource *dataSource() const { return m_link->dataSource(); }

    bool hasPicture() const { return !m_picture.isNull(); }
    QSize pictureSize() const { return m_pictureSize; } // the whole picture, upright
    const QImage &picture() const { return m_picture; } // the part the box shows

signals:
    void clicked(); // left button released over the box

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showField();
    void showBytes(const QByteArray &bytes);

    FieldLink *m_link;
    QByteArray m_bytes;
    bool m_shown = false;
    QImage m_picture;
    QSize m_pictureSize;
    QSize m_box; // the size the shown part was decoded for
};
