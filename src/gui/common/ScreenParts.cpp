#include "gui/common/ScreenParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace velmora::reports {

namespace {

void addToBox(QGroupBox* box, QWidget* w)
{
    if (!box->layout())
        new QHBoxLayout(box);
    box->layout()->addWidget(w);
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

QGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

QRadioButton* radio(QGroupBox* box, const char* name, const QString& caption)
{
    auto* r = new QRadioButton(caption, box);
    r->setObjectName(QLatin1String(name));
    addToBox(box, r);
    return r;
}

QComboBox* choiceBox(QGroupBox* box, const char* name)
{
    auto* c = new QComboBox(box);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true); // free text allowed
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumContentsLength(20);
    addToBox(box, c);
    return c;
}

QLineEdit* editBox(QGroupBox* box, const char* name)
{
    auto* e = new QLineEdit(box);
    e->setObjectName(QLatin1String(name));
    e->setMaximumWidth(90);
    addToBox(box, e);
    return e;
}

QLineEdit* monthYearBox(QGroupBox* box, const char* name)
{
    QLineEdit* e = editBox(box, name);
    e->setInputMask(QStringLiteral("00/9999;_"));
    e->setMaxLength(7);
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

} // namespace velmora::reports
