#pragma once

// The second pair of eyes: "ตรวจสอบการคำนวณเงินชดเชย" lists every saved
// calculation awaiting its check with its figures, shows the chosen one's
// annex as a print preview, and checks or returns the ticked lines (the
// current line when none is ticked). The screen reads its controls and calls
// the check services; velmora-cli verify and return call the same.

#include "pages/PageLayout.h"
#include "services/CalculationChecks.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;

namespace velmora::app {
struct Session;
}
namespace velmora::reports {
class GridModel;
}

namespace velmora::calc {

class TfrmCheck_Calculation : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCheck_Calculation(app::Session& session, QWidget* parent = nullptr);

    // Shows the annex; the print preview unless a test replaces it.
    std::function<void(const QList<print::PageLayout>&)> showPreview;

    const std::vector<checks::Pending>& pending() const { return m_pending; }

public slots:
    void btnShow_DataClick();
    void btnSelect_allClick();
    void btnPreview_AnnexClick();
    void btnCheckClick();
    void btnReturnClick();
    void btnExit_FormClick();

private:
    // The SAP IDs of the ticked lines, or of the current line when none is ticked.
    QStringList chosen() const;
    void inform(const QString& text);

    app::Session& m_session;
    std::vector<checks::Pending> m_pending;
    reports::GridModel* m_model = nullptr;

    QTableView* StringGrid1 = nullptr;
    QPushButton* btnShow_Data = nullptr;
    QPushButton* btnSelect_all = nullptr;
    QPushButton* btnPreview_Annex = nullptr;
    QPushButton* btnCheck = nullptr;
    QLineEdit* edtReason = nullptr;
    QPushButton* btnReturn = nullptr;
    QPushButton* btnExit_Form = nullptr;
};

} // namespace velmora::calc
