#include "CalcScreenTest.h"

#include "db/DemoData.h"
#include "gui/common/GridModel.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace velmora::test {

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

CalcScreenTest::CalcScreenTest()
{
    QString error;
    EXPECT_TRUE(db::addDemoData(tdb.db(), QDate(2026, 12, 9), &error)) << error.toStdString();
    session.db = &tdb.db();
    session.Server_Date_Text = QStringLiteral("09/12/2026");
    session.Server_Date_Text_BE = QStringLiteral("09/12/2569");
    session.Login_User_Name = QStringLiteral("demo");
    session.prompter = &prompter;
    screen = std::make_unique<calc::TfrmCalculate_Money>(session);
    screen->resize(1200, 800);
    screen->show();
}

CalcScreenTest::~CalcScreenTest()
{
    screen.reset();
}

QString CalcScreenTest::text(const char* editName)
{
    auto* e = child<QLineEdit>(editName);
    return e ? e->text() : QString();
}

void CalcScreenTest::click(const char* buttonName)
{
    auto* b = child<QPushButton>(buttonName);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isEnabled()) << buttonName;
    QTest::mouseClick(b, Qt::LeftButton);
}

void CalcScreenTest::retype(const char* editName, const QString& text)
{
    auto* e = child<QLineEdit>(editName);
    ASSERT_NE(e, nullptr);
    e->setFocus();
    e->clear();
    e->setCursorPosition(0);
    typeText(e, text);
}

QTableView* CalcScreenTest::view(const char* gridName)
{
    return child<QTableView>(gridName);
}

reports::GridModel* CalcScreenTest::model(const char* gridName)
{
    QTableView* grid = view(gridName);
    auto* shown = grid ? qobject_cast<reports::GridModel*>(grid->model()) : nullptr;
    EXPECT_NE(shown, nullptr) << gridName;
    return shown;
}

QString CalcScreenTest::cell(const char* gridName, int row, int column)
{
    const reports::GridModel* grid = model(gridName);
    if (!grid || row >= grid->rowCount())
        return QStringLiteral("<no row>");
    return grid->index(row, column).data().toString();
}

QStringList CalcScreenTest::row(const char* gridName, int r)
{
    QStringList cells;
    const reports::GridModel* grid = model(gridName);
    for (int c = 0; grid && c < grid->columnCount(); ++c)
        cells << cell(gridName, r, c);
    return cells;
}

int CalcScreenTest::rows(const char* gridName)
{
    const reports::GridModel* grid = model(gridName);
    return grid ? grid->rowCount() : -1;
}

int CalcScreenTest::currentRow(const char* gridName)
{
    QTableView* grid = view(gridName);
    return grid && grid->currentIndex().isValid() ? grid->currentIndex().row() : -1;
}

void CalcScreenTest::setCurrent(const char* gridName, int row, int column)
{
    QTableView* grid = view(gridName);
    ASSERT_NE(grid, nullptr);
    grid->setCurrentIndex(grid->model()->index(row, column));
}

bool CalcScreenTest::selectEmployee(const QString& sapid)
{
    for (int r = 0; r < rows("StringGrid1"); ++r) {
        if (cell("StringGrid1", r, 1) == sapid) {
            setCurrent("StringGrid1", r, 1);
            return true;
        }
    }
    return false;
}

void CalcScreenTest::startCalculation(const QString& sapid)
{
    click("btnShow_Data");
    ASSERT_TRUE(selectEmployee(sapid)) << sapid.toStdString();
    click("btnCal_Money");
}

void CalcScreenTest::nextThrough(int lastPage)
{
    for (int page = 1; page <= lastPage; ++page) {
        const QByteArray name = "btnNext" + QByteArray::number(page);
        click(name.constData());
        ASSERT_EQ(currentPage(), page + 1)
            << "after " << name.constData() << ": " << prompter.messages.join(" | ").toStdString();
    }
}

int CalcScreenTest::currentPage()
{
    return child<QTabWidget>("PageControl1")->currentIndex() + 1;
}

bool CalcScreenTest::layerShown(const char* panelName)
{
    auto* panel = child<QWidget>(panelName);
    return panel && panel->isVisibleTo(screen.get());
}

QVariant CalcScreenTest::scalar(const QString& sql, const QVariantList& values)
{
    return tdb.scalar(sql, values);
}

} // namespace velmora::test
