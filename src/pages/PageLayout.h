#pragma once

// Declarative printed pages: texts, rules, boxes and pictures placed in
// millimetres from the top-left corner of the page's band (the paper less its
// margins), font sizes in points of the document's typeface (AngsanaUPC).
// A layout names its data-bound items by column; bindPage() turns a layout and a
// data row into a page whose every text is final.

#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace velmora::print {

enum class Align { Left, Center, Right };

// How a data-bound value is written.
enum class ValueFormat {
    AsIs, // the column's value as text (whole numbers without decimals)
    MoneyMask, // the pattern "#,###.00": 0.40 prints as .40
    AmountText, // "," thousands, "." decimals, always two decimals: 0.40
};

struct Item
{
    enum class Kind { Text, Line, Box, Picture };

    Kind kind = Kind::Text;
    // A name of the item, unique in its layout (the designer's component name).
    QString name;
    // Millimetres from the band's top-left corner. A text is drawn inside this
    // box (top-aligned); a line runs from rect.topLeft() to rect.bottomRight().
    QRectF rect;

    // Texts.
    double pointSize = 14;
    bool bold = false;
    Align align = Align::Left;
    bool wrap = false; // the text wraps inside the box instead of staying on one line
    QString text; // fixed or set text
    QString column; // non-empty: bound to this column of the data row
    ValueFormat format = ValueFormat::AsIs;

    // Lines and boxes.
    double penMm = 0.2;
    bool whiteFill = false; // a box that hides what was drawn under it

    // Pictures: stretched into rect.
    QImage image;

    static Item label(const QString& name, double left, double top, double width, double pointSize, const QString& text,
        Align align = Align::Left, bool bold = false);
    static Item field(const QString& name, double left, double top, double width, double pointSize,
        const QString& column, ValueFormat format = ValueFormat::AsIs, Align align = Align::Left);
    static Item line(const QString& name, double x1, double y1, double x2, double y2, double penMm = 0.2);
    static Item box(const QString& name, double left, double top, double right, double bottom, double penMm = 0.2,
        bool whiteFill = false);
    static Item picture(const QString& name, double left, double top, double width, double height, const QImage& image);
};

// Height of a one-line text box of this size, in millimetres.
double lineHeightMm(double pointSize);

struct PageLayout
{
    QSizeF paperMm {210.0, 297.0}; // A4 portrait
    QMarginsF marginsMm {10.0, 10.0, 10.0, 10.0};
    QList<Item> items; // drawn in this order

    Item* find(const QString& name);
    const Item* find(const QString& name) const;
    // Sets the text of a set item; false when the layout has no such item.
    bool setText(const QString& name, const QString& text);
};

// A data row: column name to value (names compared as written).
using DataRow = QVariantMap;

// The layout with every bound item's text taken from the row. Without a row the
// band is not printed at all and the page stays empty.
PageLayout bindPage(const PageLayout& layout, const std::optional<DataRow>& row);

// A value written as a bound item of that format writes it.
QString formatValue(const QVariant& value, ValueFormat format);

// The pattern "#,###.00": thousands separators and two decimals, no digit
// before the point below 1 (0.5 gives .50, 0 gives .00, -0.4 gives -.40).
QString Money_Mask_Text(double value);

} // namespace velmora::print
