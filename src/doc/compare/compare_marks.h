#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

#include "compare/attribute_comparison.h"
#include "compare/comparison.h"

namespace oryx::doc {

// How the compare window marks a difference: an icon whose shape tells the
// kind (a square with a plus for added, a circle with a minus for removed, a
// diamond for changed), a colour, and a word for the tooltip, so colour is
// never the only cue. The icons are drawn once per window.
class ChangeMarks final {
public:
    ChangeMarks();

    // A blank icon of the same size for a component that did not change, so
    // every name starts at the same place.
    const QIcon& Icon(compare::Change change) const;
    // An invalid colour (the view's own) for Change::Same.
    static QColor Colour(compare::Change change);
    // The colour of a difference's text on `background`: the change's colour,
    // made lighter or darker as far as needed to read well on it (a contrast
    // ratio of 4.5 or more), so dark palettes keep it readable.
    static QColor TextColour(compare::Change change, const QColor& background);
    // The contrast ratio of two colours, from 1 (the same) to 21.
    static double Contrast(const QColor& a, const QColor& b);
    // "added", "removed", "changed"; empty for Change::Same.
    static QString Word(compare::Change change);
    // The mark of an attribute row; ignored rows are marked as unchanged.
    static compare::Change RowChange(compare::AttributeChange change);

    // The icon of a compare window: two pages side by side.
    static QIcon WindowIcon();

private:
    QIcon same_, added_, removed_, changed_;
};

}  // namespace oryx::doc
