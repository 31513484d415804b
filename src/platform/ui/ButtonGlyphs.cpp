#include "platform/ui/ButtonGlyphs.h"

#include <QPainter>
#include <QPixmap>

#include <functional>

namespace fat::ui {
namespace {

using Drawing = std::function<void(QPainter&)>;

QPixmap Draw(const Drawing& drawing) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawing(painter);
    return pixmap;
}

// The disabled image: the normal one in light greys.
QPixmap Grey(const QPixmap& normal) {
    QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int g = 128 + qGray(c.rgb()) / 2;
            image.setPixelColor(x, y, QColor(g, g, g, c.alpha()));
        }
    return QPixmap::fromImage(image);
}

QIcon Glyph(const Drawing& drawing) {
    const QPixmap normal = Draw(drawing);
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(Grey(normal), QIcon::Disabled);
    return icon;
}

} // namespace

QIcon OpenGlyph() {
    return Glyph([](QPainter& p) {
        p.setPen(QColor(128, 96, 0));
        p.setBrush(QColor(255, 208, 64));
        p.drawRect(1, 4, 13, 9);
        p.setBrush(QColor(255, 232, 128));
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
    });
}

QIcon SaveGlyph() {
    return Glyph([](QPainter& p) {
        p.setPen(QColor(0, 0, 64));
        p.setBrush(QColor(0, 0, 160));
        p.drawRect(1, 1, 13, 13);
        p.fillRect(4, 2, 8, 5, Qt::white);
        p.fillRect(5, 10, 6, 4, QColor(192, 192, 192));
    });
}

QIcon CancelGlyph() {
    return Glyph([](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(3, 3, 12, 12);
        p.drawLine(12, 3, 3, 12);
    });
}

QIcon CloseGlyph() {
    return Glyph([](QPainter& p) {
        p.setPen(QColor(64, 32, 0));
        p.setBrush(QColor(160, 96, 32));
        p.drawRect(6, 1, 8, 14);
        p.setPen(QPen(QColor(0, 128, 0), 2));
        p.drawLine(1, 8, 5, 8);
        p.drawLine(3, 6, 5, 8);
        p.drawLine(3, 10, 5, 8);
    });
}

} // namespace fat::ui
