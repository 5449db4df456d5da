#include "gui/common/Widgets.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::app {

namespace {

template <typename W>
W* inRow(QGroupBox* box, W* w)
{
    if (!box->layout())
        new QHBoxLayout(box);
    box->layout()->addWidget(w);
    return w;
}

// Puts `note` right after `w` in the layout that holds `w` (a row, or the
// next cell of a grid), searched from `layout` down; false when not found.
bool placeAfter(QLayout* layout, QWidget* w, QWidget* note)
{
    if (!layout)
        return false;
    const int at = layout->indexOf(w);
    if (at >= 0) {
        if (auto* row = qobject_cast<QBoxLayout*>(layout)) {
            row->insertWidget(at + 1, note);
            return true;
        }
        if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
            int r = 0, c = 0, rs = 0, cs = 0;
            grid->getItemPosition(at, &r, &c, &rs, &cs);
            grid->addWidget(note, r, c + cs);
            return true;
        }
        return false;
    }
    for (int i = 0; i < layout->count(); ++i)
        if (placeAfter(layout->itemAt(i)->layout(), w, note))
            return true;
    return false;
}

} // namespace

QLabel* label(QWidget* parent, const char* name, const QString& caption)
{
    return make<QLabel>(parent, name, caption);
}

QLabel* heading(QWidget* parent, const char* name, const QString& caption, const char* colour)
{
    QLabel* l = label(parent, name, caption);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(QStringLiteral("color: %1; font-size: 16pt; font-weight: bold;").arg(QLatin1String(colour)));
    return l;
}

void scaleFont(QWidget* widget, double factor, bool bold)
{
    QFont f = widget->font();
    f.setPointSizeF(f.pointSizeF() * factor);
    f.setBold(bold);
    widget->setFont(f);
}

void colour(QWidget* widget, const char* foreground, const char* background)
{
    QString css = QStringLiteral("color: %1;").arg(QLatin1String(foreground));
    if (background)
        css += QStringLiteral(" background-color: %1;").arg(QLatin1String(background));
    widget->setStyleSheet(css);
}

QLabel* title(QWidget* parent, const char* name, const QString& caption, double factor, const char* foreground,
    const char* background)
{
    QLabel* l = label(parent, name, caption);
    scaleFont(l, factor, true);
    colour(l, foreground, background);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = make<QPushButton>(parent, name, caption);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* lineEdit(QWidget* parent, const char* name)
{
    return make<QLineEdit>(parent, name);
}

QGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption)
{
    return make<QGroupBox>(parent, name, caption);
}

QRadioButton* radio(QGroupBox* box, const char* name, const QString& caption)
{
    return inRow(box, make<QRadioButton>(box, name, caption));
}

QComboBox* choiceBox(QGroupBox* box, const char* name)
{
    auto* c = make<QComboBox>(box, name);
    c->setEditable(true); // free text allowed
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumContentsLength(20);
    return inRow(box, c);
}

QLineEdit* editBox(QGroupBox* box, const char* name)
{
    QLineEdit* e = lineEdit(box, name);
    e->setMaximumWidth(90);
    // A squeezed row must never cut a month or a year short: "12/2026"
    // shown as "026" reads as another year.
    e->setMinimumWidth(qMin(90, e->fontMetrics().horizontalAdvance(QStringLiteral("00/00000")) + 12));
    return inRow(box, e);
}

QLineEdit* maskedBox(QGroupBox* box, const char* name, const QString& mask)
{
    QLineEdit* e = editBox(box, name);
    e->setInputMask(mask);
    return e;
}

QString eraText(Era era)
{
    return era == Era::Christian ? QStringLiteral("ค.ศ.") : QStringLiteral("พ.ศ.");
}

QLabel* eraNote(QLineEdit* yearBox, Era era)
{
    auto* note = new QLabel(eraText(era), yearBox->parentWidget());
    note->setObjectName(yearBox->objectName() + QStringLiteral("Era"));
    const QString tip = era == Era::Christian ? QStringLiteral("ปีคริสต์ศักราช (ค.ศ.) เช่น 2026")
                                              : QStringLiteral("ปีพุทธศักราช (พ.ศ.) เช่น 2569");
    note->setToolTip(tip);
    yearBox->setToolTip(tip);
    if (!placeAfter(yearBox->parentWidget() ? yearBox->parentWidget()->layout() : nullptr, yearBox, note))
        note->move(yearBox->geometry().topRight() + QPoint(4, 0));
    return note;
}

QTableView* gridView(QWidget* parent, const char* name, QAbstractItemModel* model, bool wholeRows)
{
    auto* view = make<QTableView>(parent, name);
    view->setModel(model);
    view->verticalHeader()->hide(); // column 0 holds the running number
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    if (wholeRows) {
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
    }
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    return view;
}

int layoutWidth(int pixels, const QFont& font)
{
    constexpr double kLayoutCharacter = 5.0; // pixels, MS Sans Serif 8 points at 96 dpi
    return qRound(pixels * QFontMetricsF(font).averageCharWidth() / kLayoutCharacter);
}

void setColumnWidths(QTableView* view, const QList<int>& widths, int otherWidth)
{
    const int columns = view->model() ? view->model()->columnCount() : 0;
    QHeaderView* header = view->horizontalHeader();
    for (int c = 0; c < columns; ++c) {
        const int width = c < widths.size() ? widths.at(c) : otherWidth;
        const int wanted = width > 0 ? layoutWidth(width, view->font()) : view->columnWidth(c);
        view->setColumnWidth(c, qMax(wanted, header->sectionSizeHint(c)));
    }
}

void keepColumnWidths(QTableView* view, const QList<int>& widths, int otherWidth)
{
    QObject::connect(view->model(), &QAbstractItemModel::modelReset, view,
        [view, widths, otherWidth] { setColumnWidths(view, widths, otherWidth); });
}

QTableView* choiceList(QWidget* parent, QAbstractItemModel* model, const QList<int>& widths, QGroupBox** box)
{
    *box = groupBox(parent, "GroupBox2", QStringLiteral("2. เลือกรายการทั่ต้องการ"));
    QTableView* view = gridView(*box, "StringGrid1", model, true);
    keepColumnWidths(view, widths);
    (new QVBoxLayout(*box))->addWidget(view);
    return view;
}

} // namespace velmora::app
