#include "gui/common/ScreenParts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
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

} // namespace velmora::reports
