#pragma once
// What every print draws on: pages of a given size in device units, text and lines at positions.
// QtPageSurface draws on a printer (print preview) or a PDF file; tests use a recording surface.
#include <QString>

namespace vt {

struct PageFont {
    QString name = QStringLiteral("COURIER NEW");
    int pointSize = 12;
    bool bold = false;
    bool strikeOut = false;
};

enum class PageOrientation { Portrait, Landscape };

class PageSurface {
public:
    virtual ~PageSurface() = default;

    // Starts the document with its first page; the page size is known from then on.
    virtual void begin(PageOrientation orientation) = 0;
    virtual void newPage() = 0;
    virtual void end() = 0;

    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;

    virtual void setFont(const PageFont& font) = 0;
    virtual PageFont font() const = 0;
    virtual void setPenWidth(int width) = 0; // black, solid; shapes are not filled

    // Metrics of a text in the current font.
    virtual int textWidth(const QString& text) const = 0;
    virtual int textHeight(const QString& text) const = 0;
    // Height of the current font above its baseline (the registers stand their texts on a line).
    virtual int textAscent() const { return textHeight(QStringLiteral("E")) * 3 / 4; }

    // Text whose top-left corner is at (x, y).
    virtual void text(int x, int y, const QString& text) = 0;
    // Text centred on x, or ending at x; top at y.
    virtual void textCentred(int x, int y, const QString& text) { this->text(x - textWidth(text) / 2, y, text); }
    virtual void textRight(int x, int y, const QString& text) { this->text(x - textWidth(text), y, text); }
    // The same with the text's baseline at y.
    void textOnLine(int x, int y, const QString& t) { text(x, y - textAscent(), t); }
    void textCentredOnLine(int x, int y, const QString& t) { textCentred(x, y - textAscent(), t); }
    void textRightOnLine(int x, int y, const QString& t) { textRight(x, y - textAscent(), t); }

    virtual void line(int x1, int y1, int x2, int y2) = 0;
    virtual void rectangle(int left, int top, int right, int bottom)
    {
        line(left, top, right, top);
        line(right, top, right, bottom);
        line(right, bottom, left, bottom);
        line(left, bottom, left, top);
    }
};

} // namespace vt
