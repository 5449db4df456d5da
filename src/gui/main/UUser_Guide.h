#pragma once

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace velmora::app {

// The user guide, read offline from the file the package installs
// (userGuidePath), in a window of its own beside the main window. Its
// sections are the guide's headings; a screen's section is the heading that
// reads exactly as the menu item opening the screen.
//
// Object names: frmUser_Guide, txtGuide (the rendered guide), btnClose.
class TfrmUser_Guide : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmUser_Guide(QWidget* parent = nullptr);

    // Reads the guide; false (and the window shows why) when it is missing.
    bool load();
    bool loaded() const { return m_loaded; }
    // Scrolls the heading that reads `heading` to the top; the guide's start
    // when no heading does. True when found.
    bool showSection(const QString& heading);
    // The heading of the section at the top of the window (empty above the first).
    QString sectionAtTop() const;

private:
    void fitPictures();

    QTextBrowser* txtGuide = nullptr;
    QPushButton* btnClose = nullptr;
    bool m_loaded = false;
};

} // namespace velmora::app
