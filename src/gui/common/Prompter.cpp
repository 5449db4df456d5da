#include "gui/common/Prompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace velmora::app {

QString QtPrompter::displayText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void QtPrompter::inform(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, displayText(text), QMessageBox::Ok, parent);
    box.exec();
}

bool QtPrompter::confirm(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, m_title, displayText(text), QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

QString QtPrompter::openFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString QtPrompter::saveFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
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
