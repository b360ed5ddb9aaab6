#pragma once
// The preview's two facing pages, read right to left: the right one first. It paints the pages
// it is given and nothing else; which pages those are is the preview's business.

#include "vertical/layout.h"

#include <QWidget>

#include <optional>

namespace pote::vertical {

class VerticalFont;

class SpreadView : public QWidget {
    Q_OBJECT
public:
    explicit SpreadView(QWidget* parent = nullptr);

    struct Shown {
        Page page;
        int number = 0; // printed below it; 0 for none
    };
    // right: the page read first; left: the one after it, if any.
    void setPages(const PageFormat& format, VerticalFont* font, std::optional<Shown> right,
                  std::optional<Shown> left);
    // The size at which the two pages fill a viewport of that size, margins included.
    QSize fittingSize(QSize viewport) const;
    // Where each page is drawn, for the tests and the screenshots.
    QRectF rightPageRect() const;
    QRectF leftPageRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF pageSize() const;

    PageFormat m_format;
    VerticalFont* m_font = nullptr;
    std::optional<Shown> m_right;
    std::optional<Shown> m_left;
};

} // namespace pote::vertical
