#pragma once

// The disbursement detail screen ("รายละเอียดการเบิกเงินชดเชย"): lists the
// saved calculations, optionally by part of a first name, and prints the
// request document of the chosen line in the print preview.

#include "gui/common/FilterGroups.h"
#include "gui/common/GridModel.h"
#include "pages/PageLayout.h"

#include <QList>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace velmora::app {
struct Session;
}

namespace velmora::print {

class TfrmRep_Berg_Detail : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmRep_Berg_Detail(app::Session& session, QWidget* parent = nullptr);

    // Shows the printed pages; the print preview unless a test replaces it.
    std::function<void(const QList<PageLayout>&)> showPreview;

    // The page of the last print (set items keep their texts until the next).
    const PageLayout& lastPage() const { return m_page; }

public slots:
    void btnShow_DataClick();
    void btnPrint_DetailClick();
    void btnPrint_AnnexClick();
    void btnClear_RepClick();
    void btnExit_FormClick();

private:
    void FormCreate();
    // The SAP ID of the current line (the first when none is current).
    QString chosenSapId() const;

    app::Session& m_session;
    reports::GridModel* m_list = nullptr;
    PageLayout m_layout; // the page's layout with its set items
    PageLayout m_page;

    QLabel* Label5 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* edtFind_F_Name = nullptr;
    // shown with its defaults; the search does not use it
    app::PeriodFilterBoxes m_received;
    QPushButton* btnShow_Data = nullptr;
    QPushButton* btnExit_Form = nullptr;
    QTableView* StringGrid1 = nullptr;
    QPushButton* btnPrint_Detail = nullptr;
    QPushButton* btnPrint_Annex = nullptr;
    QPushButton* btnClear_Rep = nullptr;
};

} // namespace velmora::print
