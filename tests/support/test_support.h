#pragma once
// Shared by the test programs: a fresh program folder and settings location per test, and
// answering modal windows (message boxes, dialogs) from a timer.
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QWidget;
class QTimer;

// A fresh temporary program folder and settings location; edit states and the window
// registry reset, the database connections closed. Undone on destruction.
class TestProgram
{
public:
    TestProgram();
    ~TestProgram();
    QString folder() const { return m_folder.path(); }
    QString dbPath() const;
    // Problems the database reported (instead of a message box).
    QStringList databaseProblems;
    // Number of times endProgram() ran.
    int endCount = 0;

private:
    QTemporaryDir m_folder;
    QTemporaryDir m_settings;
};

// What a modal window answered by ModalAnswerer showed.
struct SeenModal
{
    QString objectName;
    QString title;
    QString text; // message box text, empty for other windows
    QStringList buttons;
};

// Waits for the next modal window and runs `action` on it (for example clicking a button).
// Fails the test in its destructor when no modal window came.
class ModalAnswerer
{
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> action, int timeoutMs = 5000);
    // Clicks the button whose text is `buttonText` in the next modal window.
    explicit ModalAnswerer(const QString& buttonText, int timeoutMs = 5000);
    ~ModalAnswerer();
    bool done() const;
    const SeenModal& seen() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Clicks the button with this text (or objectName) inside `window`; false when none.
bool clickButton(QWidget* window, const QString& textOrName);
