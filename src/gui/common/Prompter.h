#pragma once

#include <QString>
#include <QStringList>

#include <deque>

class QWidget;

namespace velmora::app {

// Every message, confirmation and file dialog of the program goes through one
// prompter, so that tests can read what was shown and answer in advance.
// A line break inside a message is a carriage return (character 13), as the
// officers' texts have it; the real prompter shows it as a new line.
class Prompter
{
public:
    virtual ~Prompter() = default;

    // A message with an OK button.
    virtual void inform(QWidget* parent, const QString& text) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // A file to read / to write; empty when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& filter) = 0;
};

// Real message boxes and file dialogs.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QString title = QStringLiteral("Velmora"))
        : m_title(std::move(title))
    { }

    void inform(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& filter) override;

    // The text as a message box shows it: a lone carriage return becomes a line break.
    static QString displayText(const QString& text);

private:
    QString m_title;
};

// Answers from queues, records everything shown. For tests.
class ScriptedPrompter : public Prompter
{
public:
    void inform(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& filter) override;

    // Every message and question, in the order shown.
    QStringList shown;
    // Only the messages (inform) and only the questions (confirm).
    QStringList messages;
    QStringList questions;
    // File dialog captions, in order.
    QStringList fileCaptions;

    // Answers used in turn; when a queue is empty the default answer is given.
    std::deque<bool> confirmAnswers;
    bool defaultConfirm = true;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    QString defaultFileName; // empty: the dialog is cancelled

    void clear();
};

} // namespace velmora::app
