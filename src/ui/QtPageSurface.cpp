#include "ui/QtPageSurface.h"

#include <QFontMetrics>
#include <QPageLayout>

namespace vt {

void QtPageSurface::begin(PageOrientation orientation)
{
    device_.setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
    failed_ = !painter_.begin(&device_);
    painter_.setBrush(Qt::NoBrush);
    painter_.setBackgroundMode(Qt::TransparentMode);
    setFont(font_);
    setPenWidth(1);
}

void QtPageSurface::newPage()
{
    device_.newPage();
}

void QtPageSurface::end()
{
    painter_.end();
}

int QtPageSurface::pageWidth() const
{
    return device_.width();
}

int QtPageSurface::pageHeight() const
{
    return device_.height();
}

void QtPageSurface::setFont(const PageFont& font)
{
    font_ = font;
    QFont f(font.name);
    // Where the named face is missing the nearest of its kind stands in: Liberation Mono for
    // Courier New, Liberation Serif for Times New Roman (same metrics).
    if (font.name.contains(QLatin1String("COURIER"), Qt::CaseInsensitive))
        f.setStyleHint(QFont::TypeWriter);
    else if (font.name.contains(QLatin1String("TIMES"), Qt::CaseInsensitive))
        f.setStyleHint(QFont::Serif);
    else
        f.setStyleHint(QFont::AnyStyle);
    f.setPointSize(font.pointSize);
    f.setBold(font.bold);
    f.setStrikeOut(font.strikeOut);
    painter_.setFont(f);
}

void QtPageSurface::setPenWidth(int width)
{
    painter_.setPen(QPen(Qt::black, width, Qt::SolidLine));
}

int QtPageSurface::textWidth(const QString& text) const
{
    return painter_.fontMetrics().horizontalAdvance(text);
}

int QtPageSurface::textHeight(const QString&) const
{
    return painter_.fontMetrics().height();
}

int QtPageSurface::textAscent() const
{
    return painter_.fontMetrics().ascent();
}

void QtPageSurface::text(int x, int y, const QString& text)
{
    painter_.drawText(x, y + painter_.fontMetrics().ascent(), text);
}

void QtPageSurface::line(int x1, int y1, int x2, int y2)
{
    painter_.drawLine(x1, y1, x2, y2);
}

} // namespace vt
