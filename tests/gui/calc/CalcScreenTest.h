#pragma once

#include "gui/calc/UCalculate_Money.h"
#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QString>
#include <QStringList>

#include <memory>

class QTableView;

namespace velmora::reports {
class GridModel;
}

namespace velmora::test {

// Types text one key event per character, with the text set (QTest::keyClicks
// cannot send Thai).
void typeText(QWidget* widget, const QString& text);

// The calculation screen over a fresh database with the demo data of
// 9 December 2026 (employee 10000001 is the worked example of the
// compensation rules, with a contract ending this month), a scripted
// prompter and the server date 09/12/2026.
class CalcScreenTest : public ::testing::Test
{
public:
    CalcScreenTest();
    ~CalcScreenTest() override;

    template <typename T>
    T* child(const char* name)
    {
        T* found = screen->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* editName);
    void click(const char* buttonName);
    // Replaces an edit's text by typing it (a masked edit gets its digits).
    void retype(const char* editName, const QString& text);
    // A grid view and the model it shows (the grid as the officer sees it).
    QTableView* view(const char* gridName);
    reports::GridModel* model(const char* gridName);
    QString cell(const char* gridName, int row, int column);
    QStringList row(const char* gridName, int row);
    // Data rows of a grid (the empty row of an empty result counts).
    int rows(const char* gridName);
    // The grid's current row, -1 when none.
    int currentRow(const char* gridName);
    // Makes (row, column) the grid's current cell, as a click does.
    void setCurrent(const char* gridName, int row, int column);
    // Selects the list row of this SAP ID; false when it is not listed.
    bool selectEmployee(const QString& sapid);
    // Search with the screen's current filters, select, "3. คำนวณเงิน".
    void startCalculation(const QString& sapid);
    // Presses "next" on pages 1 to `lastPage`.
    void nextThrough(int lastPage);
    int currentPage();
    bool layerShown(const char* panelName);

    // Runs one SQL statement's first value with bound values.
    QVariant scalar(const QString& sql, const QVariantList& values = {});

    TestDatabase tdb;
    app::ScriptedPrompter prompter;
    app::Session session;
    std::unique_ptr<calc::TfrmCalculate_Money> screen;
};

} // namespace velmora::test
