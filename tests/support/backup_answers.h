#pragma once
// For tests of the backup and restore commands: the file dialog answered in place of the user,
// the one message box a command ends with, and temporary files a command left behind.
#include "support/fixtures.h"
#include "ui/common_dialog.h"

#include <QDir>
#include <QMessageBox>

#include <optional>

namespace backup_answers {

inline const QString kBackupDone = QStringLiteral("  عمليات پشتيبان گيري با موفقيت انجام شد  ");
inline const QString kBackupFailed = QStringLiteral("  عمليات پشتيبان گيري با مشکل مواجه شده است  ");
inline const QString kRestoreDone = QStringLiteral("  عمليات بازيابي فايل پشتيبان با موفقيت انجام شد  ");
inline const QString kRestoreFailed = QStringLiteral("  عمليات بازيابي فايل پشتيبان با مشکل مواجه شده است  ");

// Answers the file dialog with `answer` and records how it was opened.
struct DialogAnswers
{
    QStringList modes;
    QStringList startNames;
    std::optional<QString> answer;

    DialogAnswers()
    {
        CommonDialog::setAnswerForTests([this](const QString& mode, const QString& startName) {
            modes << mode;
            startNames << startName;
            return answer;
        });
    }
    ~DialogAnswers() { CommonDialog::setAnswerForTests(nullptr); }
};

struct Box
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs a command that ends with one message box, presses its OK button and returns the box.
inline Box answeredBox(const std::function<void()>& command)
{
    Box box;
    ModalAnswerer answerer([&box](QWidget* modal) {
        if (auto* messageBox = qobject_cast<QMessageBox*>(modal))
            box = {messageBox->windowTitle(), messageBox->text(), messageBox->icon()};
        clickButton(modal, fixtures::kOk);
    });
    command();
    return box;
}

// Temporary files the commands left behind in a folder.
inline QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp"), QStringLiteral("*.tmp-journal")}, QDir::Files);
}

} // namespace backup_answers
