#include "Appearance.h"

#include <QApplication>
#include <QProxyStyle>
#include <QSettings>

namespace Appearance {

namespace {

const QString kSetting = QStringLiteral("aparencia/tamanhoDaLetra");

TextSize g_size = TextSize::Normal;

// The platform's style with the boxes of check boxes and radio buttons
// grown with the text, so they stay as easy to see and to hit.
class ScaledStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int pixels = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return scaled(pixels);
        default:
            return pixels;
        }
    }
};

// The platform's font, before any size was applied to it.
const QFont &platformFont()
{
    static const QFont font = QApplication::font();
    return font;
}

// The name of the platform's style, before any size was applied to it.
const QString &platformStyle()
{
    static const QString name = QApplication::style()->name();
    return name;
}

} // namespace

QString caption(TextSize size)
{
    switch (size) {
    case TextSize::Large:
        return QStringLiteral("Grande");
    case TextSize::VeryLarge:
        return QStringLiteral("Muito grande");
    case TextSize::Normal:
        break;
    }
    return QStringLiteral("Normal");
}

qreal factorOf(TextSize size)
{
    switch (size) {
    case TextSize::Large:
        return 1.25;
    case TextSize::VeryLarge:
        return 1.5;
    case TextSize::Normal:
        break;
    }
    return 1.0;
}

TextSize textSize()
{
    return g_size;
}

qreal factor()
{
    return factorOf(g_size);
}

int scaled(int pixels)
{
    return qRound(pixels * factor());
}

QSize scaled(const QSize &pixels)
{
    return QSize(scaled(pixels.width()), scaled(pixels.height()));
}

QFont font(const QString &family, qreal points)
{
    QFont f(family);
    f.setPointSizeF(points * factor());
    return f;
}

// Kept by its caption, so the settings file reads as the window does.
TextSize stored()
{
    const QString kept = QSettings().value(kSetting).toString();
    for (TextSize size : {TextSize::Large, TextSize::VeryLarge})
        if (kept == caption(size))
            return size;
    return TextSize::Normal;
}

void store(TextSize size)
{
    QSettings settings;
    settings.setValue(kSetting, caption(size));
    settings.sync();
}

QFont applicationFont(TextSize size)
{
    QFont font = platformFont();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factorOf(size));
    else
        font.setPixelSize(qRound(font.pixelSize() * factorOf(size)));
    return font;
}

void apply(TextSize size)
{
    const QFont font = applicationFont(size);
    g_size = size;
    QApplication::setFont(font);
    // A style of the new sizes, so every widget is polished and laid out anew.
    if (size != TextSize::Normal || dynamic_cast<ScaledStyle *>(QApplication::style()))
        QApplication::setStyle(new ScaledStyle(platformStyle()));
}

} // namespace Appearance
