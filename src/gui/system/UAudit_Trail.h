#pragma once

// The audit trail viewer (System menu): filters by day, user, event and SAP ID,
// the rows newest first, the chosen row's details in Thai, and the list's
// export. It only reads: opening and searching write nothing.

#include "db/AuditLog.h"

#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace velmora::reports {
class GridModel;
}

namespace velmora::app {
struct Session;
}

namespace velmora::audit {

class TfrmAudit_Trail : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAudit_Trail(app::Session& session, QWidget* parent = nullptr);

    // The path of the last export (tests).
    const QString& lastExport() const { return m_lastExport; }

public slots:
    void btnSearchClick();
    void btnExportClick();
    void btnVerifyClick();
    void btnExit_FormClick();
    void rowChosen();

private:
    void inform(const QString& text);

    app::Session& m_session;
    std::vector<Entry> m_entries;
    QString m_lastExport;

    QLineEdit* edtFrom = nullptr;
    QLineEdit* edtTo = nullptr;
    QLineEdit* edtUser = nullptr;
    QComboBox* cmbKind = nullptr;
    QLineEdit* edtSapID = nullptr;
    QPushButton* btnSearch = nullptr;
    QPushButton* btnExport = nullptr;
    QPushButton* btnVerify = nullptr;
    QPushButton* btnExit_Form = nullptr;
    QTableView* grdAudit = nullptr;
    QPlainTextEdit* memDetails = nullptr;
    QLabel* lblCount = nullptr;
    reports::GridModel* m_model = nullptr;
};

} // namespace velmora::audit
