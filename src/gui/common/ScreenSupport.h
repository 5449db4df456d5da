#pragma once

#include <QObject>

#include <initializer_list>

class QEvent;
class QLineEdit;
class QPushButton;
class QWidget;

namespace velmora::app {

// True for a key press of Enter (Return or the keypad's Enter).
bool isEnterKeyPress(const QEvent* event);

// Generates a Tab key press on the widget, so the focus moves to the next
// control in tab order.
void pressTab(QWidget* widget);

// Event filter turning Enter into Tab on the widgets it is installed on.
class EnterAsTab : public QObject
{
    Q_OBJECT
public:
    explicit EnterAsTab(QObject* parent = nullptr)
        : QObject(parent)
    { }
    // Installs one filter, owned by `owner`, on every widget given.
    static EnterAsTab* install(QObject* owner, std::initializer_list<QWidget*> widgets);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A password box: every character shown as "*"; its text is selected
// whenever it gets the focus, so that retyping replaces it.
void makePasswordBox(QLineEdit* edit);

// Gives the focus to the first control of `area` that takes it by Tab, in
// tab order (a page just shown, so that the keyboard starts there).
void focusFirstControl(QWidget* area);

// Puts the focus in the box with its whole text selected (after a refusal).
void focusForRetyping(QLineEdit* edit);

// The button Enter presses from the boxes, lists and choices of `area` (a
// screen, or a part of it with a button of its own: a page, a frame): the
// one an officer expects, such as the search of a report screen. The
// nearest area around the focused control decides; a box that turns Enter
// into Tab (EnterAsTab) moves on instead.
void setEnterButton(QWidget* area, QPushButton* button);
// The button Enter presses from `widget`, or null.
QPushButton* enterButtonFor(const QWidget* widget);

// Gives `screen` the tab order in which its layouts draw its controls: rows
// top to bottom, a row left to right, a column or a frame read whole before
// the next; a page of a tab widget or a splitter's parts in turn. Called on
// every screen the main window opens.
void orderTabsAsLaid(QWidget* screen);

// The keyboard rules of every screen, installed once on the application:
// Enter (Return or the keypad's Enter) presses the focused push button, or
// from a box the area's enter button (setEnterButton); Tab and Shift+Tab
// leave a list or grid instead of moving its current row.
class KeyboardPolicy : public QObject
{
    Q_OBJECT
public:
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Closes a screen: its window inside the main window, or the screen itself.
void closeScreen(QWidget* screen);

} // namespace velmora::app
