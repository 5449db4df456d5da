#include "pages/PageRenderer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

#include <cmath>

namespace velmora::print {

namespace {

double toDots(double mm, double dpi)
{
    return mm * dpi / 25.4;
}

Qt::Alignment alignmentOf(const Item& item)
{
    Qt::Alignment a = Qt::AlignTop;
    switch (item.align) {
    case Align::Left:
        a |= Qt::AlignLeft;
        break;
    case Align::Center:
        a |= Qt::AlignHCenter;
        break;
    case Align::Right:
        a |= Qt::AlignRight;
        break;
    }
    return a;
}

QPageLayout a4Portrait(const PageLayout& page)
{
    return QPageLayout(QPageSize(page.paperMm, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
        QPageLayout::Millimeter);
}

void renderAll(QPainter& painter, const QList<PageLayout>& pages, double dpi, const std::function<bool()>& newPage)
{
    for (qsizetype n = 0; n < pages.size(); ++n) {
        if (n > 0 && !newPage())
            return;
        renderPage(painter, pages.at(n), dpi);
    }
}

} // namespace

PrintFace printFace()
{
    static const PrintFace chosen = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* angsana : {"AngsanaUPC", "Angsana New"})
            if (installed.contains(QLatin1String(angsana), Qt::CaseInsensitive))
                return PrintFace {QLatin1String(angsana), 1.0};
        // Kinnari and Norasi are the narrow book faces nearest to Angsana.
        for (const char* substitute : {"Kinnari", "Norasi", "Laksaman", "Garuda"})
            if (installed.contains(QLatin1String(substitute), Qt::CaseInsensitive))
                return PrintFace {QLatin1String(substitute), 0.67};
        const QStringList thai = QFontDatabase::families(QFontDatabase::Thai);
        if (!thai.isEmpty())
            return PrintFace {thai.first(), 0.67};
        return PrintFace {QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), 0.67};
    }();
    return chosen;
}

QFont fittedFont(const Item& item, const PrintFace& face, QPaintDevice* device)
{
    QFont font(face.family);
    font.setBold(item.bold);
    font.setStyleStrategy(QFont::PreferOutline);
    double size = item.pointSize * face.scale;
    font.setPointSizeF(size);
    if (item.text.isEmpty() || !device)
        return font;

    const double dpi = device->logicalDpiX();
    const double width = toDots(item.rect.width(), dpi);
    const double height = toDots(item.rect.height(), dpi);
    for (int attempt = 0; attempt < 40 && size > 1.0; ++attempt) {
        const QFontMetricsF fm(font, device);
        bool fits = false;
        if (item.wrap) {
            const QRectF need = fm.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap | Qt::AlignLeft, item.text);
            fits = need.width() <= width && need.height() <= height;
        } else {
            fits = fm.horizontalAdvance(item.text) <= width;
        }
        if (fits)
            break;
        size *= 0.95;
        font.setPointSizeF(size);
    }
    return font;
}

void renderPage(QPainter& painter, const PageLayout& page, double dpi)
{
    const PrintFace face = printFace();
    const QPointF origin(page.marginsMm.left(), page.marginsMm.top());
    auto at = [&](QPointF mm) { return QPointF(toDots(origin.x() + mm.x(), dpi), toDots(origin.y() + mm.y(), dpi)); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Item& item : page.items) {
        QPen pen(Qt::black);
        pen.setWidthF(toDots(item.penMm, dpi));
        switch (item.kind) {
        case Item::Kind::Line:
            painter.setPen(pen);
            painter.drawLine(at(item.rect.topLeft()), at(item.rect.bottomRight()));
            break;
        case Item::Kind::Box:
            painter.setPen(pen);
            painter.setBrush(item.whiteFill ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
            painter.drawRect(QRectF(at(item.rect.topLeft()), at(item.rect.bottomRight())));
            break;
        case Item::Kind::Picture:
            if (!item.image.isNull())
                painter.drawImage(QRectF(at(item.rect.topLeft()), at(item.rect.bottomRight())), item.image);
            break;
        case Item::Kind::Text: {
            if (item.text.isEmpty())
                break;
            painter.setPen(Qt::black);
            painter.setFont(fittedFont(item, face, painter.device()));
            Qt::Alignment flags = alignmentOf(item);
            const QRectF box(at(item.rect.topLeft()), at(item.rect.bottomRight()));
            painter.drawText(box, static_cast<int>(flags) | (item.wrap ? Qt::TextWordWrap : 0), item.text);
            break;
        }
        }
    }
    painter.restore();
}

bool writePdf(const QString& path, const QList<PageLayout>& pages, QString* error)
{
    const PageLayout blank;
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("Velmora"));
    writer.setPageLayout(a4Portrait(pages.isEmpty() ? blank : pages.first()));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("ไม่สามารถเขียนแฟ้ม ") + path;
        return false;
    }
    renderAll(painter, pages, writer.resolution(), [&] { return writer.newPage(); });
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("ไม่สามารถเขียนแฟ้ม ") + path;
        return false;
    }
    return true;
}

void fillScreen(QWidget* window, const QWidget* parent)
{
    const QScreen* screen = parent ? parent->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        window->setGeometry(screen->availableGeometry());
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void preview(QWidget* parent, const QList<PageLayout>& pages, const QString& title)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    if (!pages.isEmpty())
        printer.setPageLayout(a4Portrait(pages.first()));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setDocName(title);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&pages](QPrinter* target) {
        QPainter painter(target);
        renderAll(painter, pages, target->resolution(), [target] { return target->newPage(); });
    });
    fillScreen(&dialog, parent);
    dialog.exec();
}

} // namespace velmora::print
