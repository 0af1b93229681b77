#include "DBImage.h"

#include "data/dataset/Field.h"

#include <QMouseEvent>
#include <QPixmap>

DBImage::DBImage(DataSource *source, const QString &column, QWidget *parent) : QLabel(parent)
{
    m_link = new FieldLink(this, source, column, [this] { showField(); });
    setAlignment(Qt::AlignCenter); // a larger picture is centred and cut by the box
    setScaledContents(false);
    showField();
}

void DBImage::showField()
{
    Field *f = m_link->field();
    const QByteArray bytes = f && m_link->dataset() ? f->asBytes() : QByteArray();
    if (m_shown && bytes == m_bytes)
        return; // decoded already
    m_shown = true;
    m_bytes = bytes;
    m_picture = QImage();
    if (bytes.isEmpty()) {
        clear();
    } else if (m_picture.loadFromData(bytes)) {
        setPixmap(QPixmap::fromImage(m_picture));
    } else {
        m_picture = QImage();
        setText(kInvalidPicture);
    }
}

void DBImage::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
