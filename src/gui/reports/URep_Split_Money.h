#pragma once

// The compensation-by-fund-source screen ("รายงานเงินชดเชยแยกแหล่งเงิน"): the
// saved periods with each one's share of the net by fund source, marks, the
// selection gathered from them with its grand total, the exports of both
// lists, and the approval memo for the selection.

#include "gui/common/FilterGroups.h"
#include "gui/common/ReportScreen.h"
#include "pages/PageLayout.h"
#include "services/FundSource.h"

#include <QList>

#include <functional>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace velmora::reports {

class TfrmRep_Split_Money : public ReportScreen
{
    Q_OBJECT
public:
    explicit TfrmRep_Split_Money(app::Session& session, QWidget* parent = nullptr);
    ~TfrmRep_Split_Money() override;

    // Shows the memo; the print preview unless a test replaces it.
    std::function<void(const QList<print::PageLayout>&)> showPreview;

    const ReportGrid& resultList() const;
    const ReportGrid& selectionList() const;
    // The memo of the last print (its set items keep their texts until the next).
    const print::PageLayout& lastMemo() const { return m_memo; }

    FundSourceCriteria criteria() const;

public slots:
    void FormCreate();
    void btnShow_DataClick() override;
    void btnSelect_allClick();
    void btnRelease_AllClick();
    void btnSelect2Click();
    void btnRelease2Click();
    void StringGrid1DblClick();
    // Button2's own handler (gathers the marked lines into the second panel),
    // not a misspelt override of the base's Button1Click (the export).
    void Button2Click(); // NOLINT(bugprone-virtual-near-miss)
    void btnExpExcelClick();
    void btnExit2Click();
    void bntPrint_DocClick();

protected:
    // The result list's export.
    ExportOptions exportOptions() const override;

private:
    void buildPanel1();
    void buildPanel2();
    QString secondTitle() const;
    int currentLine() const;

    GridModel* m_selection = nullptr;
    QList<FundSourceLine> m_lines; // what each line of the list is paid from
    bool m_found = false; // the last search returned rows
    print::PageLayout m_memo;

    QFrame* Panel1 = nullptr;
    app::ChoiceFilter m_department;
    app::ChoiceFilter m_source;
    QLineEdit* edtBeg_Cal = nullptr;
    QLineEdit* edtEnd_Cal = nullptr;
    QRadioButton* RadioButton9 = nullptr;
    QRadioButton* RadioButton10 = nullptr;
    QPushButton* btnSelect_all = nullptr;
    QPushButton* btnRelease_All = nullptr;
    QPushButton* btnSelect2 = nullptr;
    QPushButton* btnRelease2 = nullptr;
    QPushButton* Button2 = nullptr;

    QFrame* Panel2 = nullptr;
    QTableView* StringGrid2 = nullptr;
    QPushButton* btnExpExcel = nullptr;
    QPushButton* btnExit2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QRadioButton* RadioButton8 = nullptr;
    QPushButton* bntPrint_Doc = nullptr;
};

} // namespace velmora::reports
