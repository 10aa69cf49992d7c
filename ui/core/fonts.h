#pragma once
// Fonts. The faces the forms were designed with are not on this system; each maps, in one
// table, to a face of similar widths, so captions fit the places the forms give them:
// "MS Sans Serif" and "Tahoma" to Liberation Sans (fontconfig would pick the wider DejaVu
// Sans for them), the symbol font "Webdings" to DejaVu Sans, which has the symbols its
// characters stand for. Sizes are points, as in the forms.
#include <QFont>
#include <QString>

namespace kv::ui {

// The default face of new controls and its size in points.
inline constexpr const char* kDefaultFace = "MS Sans Serif";
inline constexpr int kDefaultPointSize = 8;

// The face this system draws for `face`: the table's entry, or the face itself.
QString mappedFace(const QString& face);
// Text drawn in `face`: the characters of a symbol font ("Webdings") become the Unicode
// symbols that stand for them in the face it maps to; other faces keep the text.
QString symbolText(const QString& face, const QString& text);
// A font of `face` (mapped) in `points`.
QFont libraryFont(const QString& face, int points);
QFont defaultFont();
// Enters the table as Qt font substitutions, so any font naming one of the faces gets its
// replacement, and makes the default face the application's font.
void installFontTable();

}  // namespace kv::ui
