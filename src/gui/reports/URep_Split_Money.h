#pragma once

// The compensation-by-fund-source screen ("รายงานเงินชดเชยแยกแหล่งเงิน"): the
// saved periods with each one's share of the net by fund source, marks, the
// selection gathered from them with its grand total, the exports of both
// lists, and the approval memo for the selection.

#include "pages/PageLayout.h"
#include "services/FundSource.h"

#include <QList>
#include <QWidget>

#include <functional>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace velmora::app {
struct Session;
}

namespace velmora::reports {

class GridModel;
class MarkableGridModel;

class TfrmRep_Split_Money : public QWidget
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
    // The path of the last export, empty before one.
    const QString& lastExport() const { return m_lastExport; }

    FundSourceCriteria criteria() const;

public slots:
    void FormCreate();
    void btnShow_DataClick();
    void btnExit_FormClick();
    void btnSelect_allClick();
    void btnRelease_AllClick();
    void btnSelect2Click();
    void btnRelease2Click();
    void StringGrid1DblClick();
    void Button2Click();
    void Button1Click();
    void btnExpExcelClick();
    void btnExit2Click();
    void bntPrint_DocClick();

private:
    void buildPanel1();
    void buildPanel2();
    void inform(const QString& text);
    void exportList(const ReportGrid& grid, const ExportOptions& options);
    QString secondTitle() const;
    int currentLine() const;

    app::Session& m_session;
    MarkableGridModel* m_list = nullptr;
    GridModel* m_selection = nullptr;
    QList<FundSourceLine> m_lines; // what each line of the list is paid from
    bool m_found = false; // the last search returned rows
    print::PageLayout m_memo;
    QString m_lastExport;

    QFrame* Panel1 = nullptr;
    QLabel* Label5 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QRadioButton* RadioButton7 = nullptr;
    QComboBox* cmbDapart_Name = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QComboBox* cmbWork_Type = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* edtBeg_Cal = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* edtEnd_Cal = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QRadioButton* RadioButton9 = nullptr;
    QRadioButton* RadioButton10 = nullptr;
    QPushButton* btnShow_Data = nullptr;
    QPushButton* btnExit_Form = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QTableView* StringGrid1 = nullptr;
    QPushButton* btnSelect_all = nullptr;
    QPushButton* btnRelease_All = nullptr;
    QPushButton* btnSelect2 = nullptr;
    QPushButton* btnRelease2 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label1 = nullptr;

    QFrame* Panel2 = nullptr;
    QLabel* Label2 = nullptr;
    QTableView* StringGrid2 = nullptr;
    QPushButton* btnExpExcel = nullptr;
    QPushButton* btnExit2 = nullptr;
    QGroupBox* GroupBox9 = nullptr;
    QGroupBox* GroupBox8 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QRadioButton* RadioButton8 = nullptr;
    QPushButton* bntPrint_Doc = nullptr;
};

} // namespace velmora::reports
