#include "platform/Twips.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace
{
double logicalDpi()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInch();
    return 96.0;
}
} // namespace

int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(twips * logicalDpi() / 1440.0));
}

int pixelsToTwips(int pixels)
{
    return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpi()));
}

QRect twipsToPixels(const QRect& twips)
{
    return {twipsToPixels(twips.left()), twipsToPixels(twips.top()), twipsToPixels(twips.width()),
            twipsToPixels(twips.height())};
}

void placeTwips(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsToPixels(QRect(left, top, width, height)));
}

void resizeTwips(QWidget* widget, int width, int height)
{
    widget->resize(twipsToPixels(width), twipsToPixels(height));
}

void setClassicFont()
{
    QFont font = QApplication::font();
    // An Arial-metric face where installed: the captions were measured in one.
    font.setFamilies({QStringLiteral("Liberation Sans"), font.family()});
    font.setPointSizeF(8.0);
    QApplication::setFont(font);
}
