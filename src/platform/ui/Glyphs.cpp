#include "platform/ui/Glyphs.h"

#include <QPainter>
#include <QPixmap>

namespace fat::ui {
namespace {

QPixmap Document(const QColor& paper, const QColor& ink, const QColor& accent) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(ink);
    painter.setBrush(paper);
    painter.drawRect(2, 1, 11, 14);
    painter.setPen(accent);
    for (int y = 4; y <= 12; y += 2) painter.drawLine(4, y, 11, y);
    return pixmap;
}

} // namespace

QIcon DocumentGlyph() {
    QIcon icon;
    icon.addPixmap(Document(Qt::white, QColor(0, 0, 128), QColor(0, 128, 0)), QIcon::Normal);
    icon.addPixmap(Document(QColor(224, 224, 224), QColor(128, 128, 128), QColor(160, 160, 160)), QIcon::Disabled);
    return icon;
}

} // namespace fat::ui
