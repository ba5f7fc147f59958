#include "canvas/ui/QtTextEngine.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <vector>

namespace korvel::ui {

namespace {

constexpr char32_t MicroSign = 0x03BC;
constexpr char32_t CapitalDelta = 0x0394;

QString FixedPitchFamily() {
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QString CourierFamily() {
    return QFontDatabase::hasFamily("Liberation Mono") ? QString("Liberation Mono")
                                                       : FixedPitchFamily();
}

QFont FontOf(const QString& family, int32_t pixelSize) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// The largest pixel size whose cell (ascent + descent) is at most the height.
QFont FontForCell(const QString& family, int32_t cellHeight) {
    QFont best = FontOf(family, 1);
    for (int32_t size = 1; size <= 2 * cellHeight; ++size) {
        QFont font = FontOf(family, size);
        QFontMetrics metrics(font);
        if (metrics.ascent() + metrics.descent() > cellHeight) break;
        best = font;
    }
    return best;
}

}  // namespace

bool QtTextEngine::MakeFont(const char* face, int32_t cellHeight, Font& font) {
    font.Clear();
    if (cellHeight < 1) return false;
    const bool symbol = std::strcmp(face, "Symbol") == 0;
    QString family;
    if (face[0] == '\0') {
        family = FixedPitchFamily();
    } else if (symbol || std::strcmp(face, "Courier") == 0) {
        family = CourierFamily();
    } else if (QFontDatabase::hasFamily(face)) {
        family = face;
    } else {
        return false;
    }
    const QFont qfont = FontForCell(family, cellHeight);
    const QFontMetrics metrics(qfont);
    if (symbol && !(metrics.inFontUcs4(MicroSign) && metrics.inFontUcs4(CapitalDelta))) {
        return false;
    }
    const int32_t ascent = std::max(cellHeight - metrics.descent(), 0);
    font.Begin(cellHeight, ascent);

    std::vector<uint8_t> coverage;
    for (int32_t c = 32; c < 127; ++c) {
        char32_t shown = static_cast<char32_t>(c);
        if (symbol && c == 'm') shown = MicroSign;
        if (symbol && c == 'D') shown = CapitalDelta;
        // The cell keeps the width of the letter it stands for.
        const int32_t advance = metrics.horizontalAdvance(QChar(c));
        if (advance <= 0) continue;
        QImage cell(advance, cellHeight, QImage::Format_RGB32);
        cell.fill(Qt::white);
        {
            QPainter painter(&cell);
            painter.setFont(qfont);
            painter.setPen(Qt::black);
            painter.drawText(0, ascent, QString::fromUcs4(&shown, 1));
        }
        coverage.resize(static_cast<size_t>(advance) * cellHeight);
        for (int32_t y = 0; y < cellHeight; ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
            for (int32_t x = 0; x < advance; ++x) {
                coverage[y * advance + x] = static_cast<uint8_t>(255 - qGreen(row[x]));
            }
        }
        font.SetGlyph(static_cast<unsigned char>(c), advance, coverage.data());
    }
    return true;
}

}  // namespace korvel::ui
