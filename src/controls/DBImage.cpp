#include "DBImage.h"

#include "uikit/Pictures.h"
#include "dataset/Field.h"

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
    showBytes(bytes);
}

void DBImage::showBytes(const QByteArray &bytes)
{
    m_shown = true;
    m_bytes = bytes;
    m_box = contentsRect().size();
    m_pictureSize = Pictures::sizeOf(bytes);
    m_picture = m_pictureSize.isValid() ? Pictures::centredPart(bytes, m_box) : QImage();
    if (bytes.isEmpty())
        clear();
    else if (!m_picture.isNull())
        setPixmap(QPixmap::fromImage(m_picture));
    else
        setText(kInvalidPicture);
}

// The part shown depends on the box's size.
void DBImage::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    if (m_shown && !m_bytes.isEmpty() && contentsRect().size() != m_box)
        showBytes(m_bytes);
}

void DBImage::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
