#include "ui/WindowFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace zelkor::ui {

namespace {

const QString MsSansSerif = QStringLiteral("MS Sans Serif");

// Faces of about the width of MS Sans Serif, best first.
const QStringList NarrowSansSerifs = {QStringLiteral("Microsoft Sans Serif"),
                                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                      QStringLiteral("Arial")};

// The last resort on a bare Linux system; it runs wider than the others.
const QString WideSansSerif = QStringLiteral("DejaVu Sans");

// Narrowing of the wide face so that captions fit the boxes drawn for MS Sans Serif.
constexpr int WideFaceStretch = QFont::SemiCondensed;

} // namespace

QFont windowFont(qreal points, bool bold, bool italic) {
    // Only an outline MS Sans Serif will do: the bitmap-only ones, such as that of Wine's
    // fonts, come in three pixel sizes without bold or italic, and Qt draws every size of
    // them alike.
    static const bool hasOutlineMsSansSerif = QFontDatabase::isSmoothlyScalable(MsSansSerif);
    QFont font;
    QStringList families = NarrowSansSerifs;
    if (hasOutlineMsSansSerif) {
        families.prepend(MsSansSerif);
    }
    families.append(WideSansSerif);
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    if (QFontInfo(font).family() == WideSansSerif) {
        font.setStretch(WideFaceStretch);
    }
    return font;
}

} // namespace zelkor::ui
