#pragma once
// A page surface with fixed metrics that records what is drawn, for print tests.
// Metrics: every character is pointSize * 5 / 2 units wide, every text pointSize * 4 high;
// the page is 2400 x 3400 units in portrait, 3400 x 2400 in landscape.
#include <QList>
#include <QString>

#include "prints/PageSurface.h"

namespace vt::test {

class RecordingSurface : public PageSurface {
public:
    struct Text {
        int page, x, y;
        QString text;
        PageFont font;
    };
    struct Line {
        int page, x1, y1, x2, y2;
        int penWidth;
    };

    int portraitWidth = 2400;
    int portraitHeight = 3400;

    void begin(PageOrientation o) override;
    void newPage() override { ++pages; }
    void end() override { ended = true; }
    int pageWidth() const override;
    int pageHeight() const override;
    void setFont(const PageFont& f) override { font_ = f; }
    PageFont font() const override { return font_; }
    void setPenWidth(int w) override { pen_ = w; }
    int textWidth(const QString& text) const override { return int(text.size()) * charWidth(); }
    int textHeight(const QString&) const override { return font_.pointSize * 4; }
    void text(int x, int y, const QString& text) override { texts.append({pages, x, y, text, font_}); }
    void line(int x1, int y1, int x2, int y2) override { lines.append({pages, x1, y1, x2, y2, pen_}); }

    int charWidth() const { return font_.pointSize * 5 / 2; }
    // The texts drawn on one page, or the first text drawn there equal to t (nullptr when none).
    QList<Text> textsOnPage(int page) const;
    const Text* find(const QString& t, int page = -1) const;
    bool hasLine(int page, int x1, int y1, int x2, int y2) const;

    QList<Text> texts;
    QList<Line> lines;
    int pages = 0; // pages begun
    bool ended = false;
    PageOrientation orientation = PageOrientation::Portrait;

private:
    PageFont font_;
    int pen_ = 1;
};

} // namespace vt::test
