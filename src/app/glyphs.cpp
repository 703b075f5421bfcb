#include "app/glyphs.h"

#include <QPainter>
#include <QPixmap>

namespace quendra::glyphs {

namespace {

constexpr int kSize = 16;

QPixmap blank() {
    QPixmap p(kSize, kSize);
    p.fill(Qt::transparent);
    return p;
}

} // namespace

QIcon details() {
    QPixmap p = blank();
    QPainter g(&p);
    g.setPen(QColor(0, 0, 128));
    for (int y = 2; y <= 13; y += 3) {
        g.fillRect(1, y, 2, 2, QColor(0, 0, 128)); // the item's picture
        g.drawLine(4, y, 8, y);                    // its name
        g.setPen(Qt::darkGray);
        g.drawLine(10, y, 14, y); // a column beside it
        g.setPen(QColor(0, 0, 128));
    }
    return QIcon(p);
}

QIcon list() {
    QPixmap p = blank();
    QPainter g(&p);
    g.setPen(QColor(0, 0, 128));
    for (int y = 2; y <= 13; y += 3) {
        for (int x : {1, 9}) {
            g.fillRect(x, y, 2, 2, QColor(0, 0, 128));
            g.drawLine(x + 3, y, x + 5, y);
        }
    }
    return QIcon(p);
}

QIcon deleteFile() {
    QPixmap p = blank();
    QPainter g(&p);
    g.setPen(Qt::black);
    g.setBrush(Qt::white);
    g.drawRect(2, 1, 9, 12); // the sheet
    g.drawLine(4, 4, 9, 4);  // its text
    g.drawLine(4, 6, 9, 6);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(200, 0, 0), 2.2)); // the cross over it
    g.drawLine(7, 8, 14, 15);
    g.drawLine(14, 8, 7, 15);
    return QIcon(p);
}

} // namespace quendra::glyphs
