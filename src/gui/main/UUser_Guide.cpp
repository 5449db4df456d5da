#include "gui/main/UUser_Guide.h"

#include "gui/common/InstalledFiles.h"
#include "gui/common/Widgets.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QVBoxLayout>

namespace velmora::app {

namespace {

// Pictures are shown at most this wide (the screen pictures are 1366 wide).
constexpr int kPictureWidth = 900;

bool isHeading(const QTextBlock& block)
{
    return block.blockFormat().headingLevel() > 0;
}

} // namespace

TfrmUser_Guide::TfrmUser_Guide(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmUser_Guide"));
    setWindowTitle(QStringLiteral("คู่มือการใช้งาน"));
    txtGuide = make<QTextBrowser>(this, "txtGuide");
    txtGuide->setOpenLinks(true);
    txtGuide->setOpenExternalLinks(false);
    btnClose = button(this, "btnClose", QStringLiteral("ปิด"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtGuide, 1);
    layout->addLayout(buttons);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    // Esc closes the guide, as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    resize(1000, 700);
}

bool TfrmUser_Guide::load()
{
    const QString path = userGuidePath();
    if (path.isEmpty()) {
        txtGuide->setPlainText(QStringLiteral("ไม่พบแฟ้มคู่มือการใช้งาน (คู่มือการใช้งาน.md) ในโฟลเดอร์ของโปรแกรม "
                                              "กรุณาติดตั้งโปรแกรมใหม่"));
        m_loaded = false;
        return false;
    }
    txtGuide->setSearchPaths({QFileInfo(path).absolutePath()});
    txtGuide->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
    fitPictures();
    // Room below the last section, so that any heading can come to the top.
    QTextFrameFormat frame = txtGuide->document()->rootFrame()->frameFormat();
    frame.setBottomMargin(1200);
    txtGuide->document()->rootFrame()->setFrameFormat(frame);
    m_loaded = true;
    return true;
}

// A picture wider than the window's text is shown narrower, its shape kept.
void TfrmUser_Guide::fitPictures()
{
    QTextDocument* document = txtGuide->document();
    const QDir folder = QFileInfo(txtGuide->source().toLocalFile()).absoluteDir();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            if (!image.isValid())
                continue;
            const QSize size = QImageReader(folder.filePath(image.name())).size();
            if (!size.isValid() || size.width() <= kPictureWidth)
                continue;
            image.setWidth(kPictureWidth);
            image.setHeight(double(size.height()) * kPictureWidth / size.width());
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

bool TfrmUser_Guide::showSection(const QString& heading)
{
    QTextDocument* document = txtGuide->document();
    const QString wanted = heading.trimmed();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (!isHeading(block) || block.text().trimmed() != wanted)
            continue;
        // To the end first (the whole guide laid out), then back up to the
        // heading, which the window then shows at its top.
        QTextCursor end(document);
        end.movePosition(QTextCursor::End);
        txtGuide->setTextCursor(end);
        txtGuide->ensureCursorVisible();
        txtGuide->setTextCursor(QTextCursor(block));
        txtGuide->ensureCursorVisible();
        return true;
    }
    txtGuide->setTextCursor(QTextCursor(document));
    txtGuide->verticalScrollBar()->setValue(0);
    return false;
}

QString TfrmUser_Guide::sectionAtTop() const
{
    QTextDocument* document = txtGuide->document();
    const int scrolled = txtGuide->verticalScrollBar()->value();
    QString section;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (!isHeading(block))
            continue;
        if (document->documentLayout()->blockBoundingRect(block).top() > scrolled + 2)
            break;
        section = block.text().trimmed();
    }
    return section;
}

} // namespace velmora::app
