#include "ui/panellayout.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace ui::detail {

QFont panelFont() {
    // The panels were drawn with "Microsoft Sans Serif". Where it is not installed they take
    // the application's own face, which every Qt program loads anyway: a face of its own
    // would cost start-up time for each weight it needs.
    const QFont application = QApplication::font();
    QFont font = application;
    if (QFontDatabase::families().contains(QStringLiteral("Microsoft Sans Serif"))) {
        font.setFamilies({QStringLiteral("Microsoft Sans Serif")});
    }
    // In pixels, as the layout is: a point size would be drawn larger on a screen of more dots
    // per inch while the layout stays.
    font.setPixelSize(fontPixels(application));
    return font;
}

int fontPixels(const QFont &font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

double layoutScale(int pixels) {
    return std::max(1.0, static_cast<double>(pixels) / kDesignFontPixels);
}

double fittingScale(QSize design, double menuHeight, QMargins frame, QSize available) {
    const double width = available.width() - frame.left() - frame.right();
    const double height = available.height() - frame.top() - frame.bottom();
    return std::min(width / std::max(1, design.width()),
                    height / std::max(1.0, design.height() + menuHeight));
}

int scaledCoordinate(int design, double scale) {
    return static_cast<int>(std::lround(design * scale));
}

QRect scaledRect(const QRect &design, double scale) {
    const int left = scaledCoordinate(design.x(), scale);
    const int top = scaledCoordinate(design.y(), scale);
    return QRect(left, top, scaledCoordinate(design.x() + design.width(), scale) - left,
                 scaledCoordinate(design.y() + design.height(), scale) - top);
}

std::vector<std::size_t> readingOrder(const std::vector<QRect> &rects) {
    std::vector<std::size_t> byCentre(rects.size());
    std::iota(byCentre.begin(), byCentre.end(), 0);
    // Twice the centre, to stay in whole numbers.
    auto centre2 = [&rects](std::size_t i) { return 2 * rects[i].y() + rects[i].height(); };
    std::stable_sort(byCentre.begin(), byCentre.end(), [&](std::size_t a, std::size_t b) {
        return centre2(a) < centre2(b) || (centre2(a) == centre2(b) && rects[a].x() < rects[b].x());
    });
    std::vector<std::size_t> order;
    order.reserve(rects.size());
    auto rowStart = byCentre.begin();
    while (rowStart != byCentre.end()) {
        const QRect &first = rects[*rowStart];
        const int bottom2 = 2 * (first.y() + first.height());
        auto rowEnd = std::find_if(rowStart + 1, byCentre.end(),
                                   [&](std::size_t i) { return centre2(i) >= bottom2; });
        std::vector<std::size_t> row(rowStart, rowEnd);
        std::stable_sort(row.begin(), row.end(), [&rects](std::size_t a, std::size_t b) {
            return rects[a].x() < rects[b].x();
        });
        order.insert(order.end(), row.begin(), row.end());
        rowStart = rowEnd;
    }
    return order;
}

} // namespace ui::detail
