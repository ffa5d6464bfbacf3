#pragma once
// PageSurface drawn with QPainter on a printer (the print preview) or on a PDF writer.
#include <QPagedPaintDevice>
#include <QPainter>

#include "prints/PageSurface.h"

namespace vt {

class QtPageSurface : public PageSurface {
public:
    explicit QtPageSurface(QPagedPaintDevice& device) : device_(device) {}

    void begin(PageOrientation orientation) override;
    void newPage() override;
    void end() override;

    int pageWidth() const override;
    int pageHeight() const override;

    void setFont(const PageFont& font) override;
    PageFont font() const override { return font_; }
    void setPenWidth(int width) override;

    int textWidth(const QString& text) const override;
    int textHeight(const QString& text) const override;
    int textAscent() const override;

    void text(int x, int y, const QString& text) override;
    void line(int x1, int y1, int x2, int y2) override;

    // True when the device could not be opened (a PDF file that cannot be written).
    bool failed() const { return failed_; }

private:
    QPagedPaintDevice& device_;
    QPainter painter_;
    PageFont font_;
    bool failed_ = false;
};

} // namespace vt
