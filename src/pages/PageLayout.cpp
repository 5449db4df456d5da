#include "pages/PageLayout.h"

#include "rules/AmountText.h"

namespace velmora::print {

Item Item::label(const QString& name, double left, double top, double width, double pointSize, const QString& text,
    Align align, bool bold)
{
    Item i;
    i.kind = Kind::Text;
    i.name = name;
    i.rect = QRectF(left, top, width, lineHeightMm(pointSize));
    i.pointSize = pointSize;
    i.text = text;
    i.align = align;
    i.bold = bold;
    return i;
}

Item Item::field(const QString& name, double left, double top, double width, double pointSize, const QString& column,
    ValueFormat format, Align align)
{
    Item i = label(name, left, top, width, pointSize, QString(), align);
    i.column = column;
    i.format = format;
    return i;
}

Item Item::line(const QString& name, double x1, double y1, double x2, double y2, double penMm)
{
    Item i;
    i.kind = Kind::Line;
    i.name = name;
    i.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    i.penMm = penMm;
    return i;
}

Item Item::box(const QString& name, double left, double top, double right, double bottom, double penMm, bool whiteFill)
{
    Item i;
    i.kind = Kind::Box;
    i.name = name;
    i.rect = QRectF(QPointF(left, top), QPointF(right, bottom));
    i.penMm = penMm;
    i.whiteFill = whiteFill;
    return i;
}

Item Item::picture(const QString& name, double left, double top, double width, double height, const QImage& image)
{
    Item i;
    i.kind = Kind::Picture;
    i.name = name;
    i.rect = QRectF(left, top, width, height);
    i.image = image;
    return i;
}

double lineHeightMm(double pointSize)
{
    // one point is 25.4 / 72 mm; the Thai faces need about 1.25 of the size
    // for the marks above and below the line
    return pointSize * 25.4 / 72.0 * 1.25;
}

Item* PageLayout::find(const QString& name)
{
    for (Item& i : items)
        if (i.name == name)
            return &i;
    return nullptr;
}

const Item* PageLayout::find(const QString& name) const
{
    for (const Item& i : items)
        if (i.name == name)
            return &i;
    return nullptr;
}

bool PageLayout::setText(const QString& name, const QString& text)
{
    Item* i = find(name);
    if (!i)
        return false;
    i->text = text;
    return true;
}

QString Money_Mask_Text(double value)
{
    QString text = QString::fromStdString(Amount_Text(value));
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

QString formatValue(const QVariant& value, ValueFormat format)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (format) {
    case ValueFormat::MoneyMask:
        return Money_Mask_Text(value.toDouble());
    case ValueFormat::AmountText:
        return QString::fromStdString(Amount_Text(value.toDouble()));
    case ValueFormat::AsIs:
        break;
    }
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QString::fromStdString(Shortest_Number_Text(value.toDouble()));
    return value.toString();
}

PageLayout bindPage(const PageLayout& layout, const std::optional<DataRow>& row)
{
    PageLayout page = layout;
    if (!row) {
        page.items.clear();
        return page;
    }
    for (Item& i : page.items) {
        if (i.kind != Item::Kind::Text || i.column.isEmpty())
            continue;
        i.text = formatValue(row->value(i.column), i.format);
        i.column.clear();
    }
    return page;
}

} // namespace velmora::print
