#pragma once

#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/common/Session.h"
#include "gui/main/UVelmora.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>

#include <memory>

namespace velmora::test {

// Types text into a widget one key event per character, with the text set
// (QTest::keyClicks cannot send Thai).
void typeText(QWidget* widget, const QString& text);
// Replaces the text of an edit box by typing it.
void retype(QWidget* lineEdit, const QString& text);

// Shows the window and waits until it is the active one, so focus can be seen.
void showAndActivate(QWidget* window);

// A main window over a fresh database, with a scripted prompter, a machine
// clock at 18/03/2017 10:00 with "/" as date separator, and a fixed address.
class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    // Starts the main window (the start-up checks run) on the test database,
    // or on another URL.
    app::TfrmVelmora& start();
    app::TfrmVelmora& start(const QString& url);

    // Adds a user holding every role, whose password is stored hashed.
    void addUser(const QString& name, const QString& password, const QString& first, const QString& last);
    // Types name and password and presses OK.
    void login(const QString& name, const QString& password);

    template <typename T>
    T* child(const char* name)
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TestDatabase tdb;
    app::ScriptedPrompter prompter;
    app::Session session;
    app::ScreenRegistry screens;
    std::unique_ptr<app::TfrmVelmora> window;
    int endRequests = 0; // programEndRequested signals seen
};

} // namespace velmora::test
