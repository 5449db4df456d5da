#include "gui/common/Prompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace velmora::app {

QString QtPrompter::displayText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

// The officers' messages and questions keep their English "OK" and "Cancel"
// whatever the toolkit's catalogue says.
void QtPrompter::inform(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, displayText(text), QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

bool QtPrompter::confirm(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, m_title, displayText(text), QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
    return box.exec() == QMessageBox::Ok;
}

namespace {

// A file dialog in Thai (the catalogue of the toolkit's texts), its cancel
// button too: the English "Cancel" stays only on the officers' own questions.
QString chooseFile(QWidget* parent, const QString& caption, const QString& filter, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("ยกเลิก"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtPrompter::openFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    return chooseFile(parent, caption, filter, QFileDialog::AcceptOpen);
}

QString QtPrompter::saveFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    return chooseFile(parent, caption, filter, QFileDialog::AcceptSave);
}

void ScriptedPrompter::inform(QWidget*, const QString& text)
{
    shown << text;
    messages << text;
}

bool ScriptedPrompter::confirm(QWidget*, const QString& text)
{
    shown << text;
    questions << text;
    if (confirmAnswers.empty())
        return defaultConfirm;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

namespace {
QString nextFrom(std::deque<QString>& queue, const QString& fallback)
{
    if (queue.empty())
        return fallback;
    QString answer = queue.front();
    queue.pop_front();
    return answer;
}
} // namespace

QString ScriptedPrompter::openFileName(QWidget*, const QString& caption, const QString&)
{
    fileCaptions << caption;
    return nextFrom(openAnswers, defaultFileName);
}

QString ScriptedPrompter::saveFileName(QWidget*, const QString& caption, const QString&)
{
    fileCaptions << caption;
    return nextFrom(saveAnswers, defaultFileName);
}

void ScriptedPrompter::clear()
{
    shown.clear();
    messages.clear();
    questions.clear();
    fileCaptions.clear();
}

} // namespace velmora::app
