#include "ports/ui/Bitmaps.h"

namespace korvel::ui {

QPixmap Bitmap(const char* name) {
    return QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(QString::fromLatin1(name).toLower()));
}

QPushButton* BitmapButton(const char* bitmap, QWidget* parent) {
    auto* button = new QPushButton(parent);
    const QPixmap pixmap = Bitmap(bitmap);
    button->setIcon(QIcon(pixmap));
    button->setIconSize(pixmap.size());
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QIcon FaceIcon(Face face) {
    switch (face) {
        case Face::Start:
            return QIcon(Bitmap("B1Bitmap"));
        case Face::Wait:
            return QIcon(Bitmap("B1Bitmaw"));
        case Face::SpectrumIdle:
            return QIcon(Bitmap("SBitmap"));
        case Face::FrequencyChosen:
            return QIcon(Bitmap("119"));
        case Face::FrequencyOther:
            return QIcon(Bitmap("118"));
    }
    return QIcon();
}

QCursor ClosedHandCursor() {
    return QCursor(Bitmap("hand"), 16, 14);
}

}  // namespace korvel::ui
