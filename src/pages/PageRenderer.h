#pragma once

// Draws pages of PageLayout onto any paint device: a QPdfWriter for files, a
// QPrinter inside the print preview from which the officer prints.

#include "pages/PageLayout.h"

#include <QFont>
#include <QList>
#include <QString>

class QPaintDevice;
class QPainter;
class QWidget;

namespace velmora::print {

// The typeface the pages are drawn in. The documents are designed for
// AngsanaUPC; where it is not installed a Thai face of fonts-thai-tlwg stands
// in, at the scale that gives it Angsana's size (Angsana's glyphs are small
// for their point size: about two thirds of the others').
struct PrintFace
{
    QString family;
    double scale = 1.0;
};

// The face in use: AngsanaUPC when installed, else Kinnari, Norasi, Laksaman,
// Garuda, else any installed face that writes Thai.
PrintFace printFace();

// The font a text item is drawn with on this device: the print face at the
// item's size times the face's scale, made smaller until the text stays inside
// the item's box (its width for one line; width and height when it wraps).
QFont fittedFont(const Item& item, const PrintFace& face, QPaintDevice* device);

// Draws one page whose paper corner is the device's (0, 0), at the device's
// resolution: millimetres become dots as mm * dpi / 25.4.
void renderPage(QPainter& painter, const PageLayout& page, double dpi);

// One page after another into a PDF file (A4, no margins of the writer's own).
bool writePdf(const QString& path, const QList<PageLayout>& pages, QString* error);

// The pages in the print preview, from which the officer prints; returns when
// the preview is closed.
void preview(QWidget* parent, const QList<PageLayout>& pages, const QString& title);

// Gives a top-level window the whole available area of its screen (the
// parent's screen, else the primary one) and asks for it maximised too:
// without a window manager the request alone leaves a preview at its small
// default size.
void fillScreen(QWidget* window, const QWidget* parent);

} // namespace velmora::print
