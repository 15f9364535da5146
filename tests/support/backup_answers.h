#pragma once
// For tests of the backup and restore commands: the file dialog answered in place of the user,
// the one message box a command ends with, and temporary files a command left behind.
#include "support/fixtures.h"
#include "ui/common_dialog.h"

#include <QDir>
#include <QMessageBox>
#include <QTest>

#include <optional>

namespace backup_answers {

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
    bool operator==(const Box&) const = default;
};

inline char* toString(const Box& box)
{
    return QTest::toString(QStringLiteral("%1 | %2 | icon %3").arg(box.title, box.text).arg(int(box.icon)));
}

// The box each command ends with, as the user sees it (the tests' own copy of its texts).
// clang-format off
inline const Box kBackupDone = {QStringLiteral("پشتيبان گيري"), QStringLiteral("  عمليات پشتيبان گيري با موفقيت انجام شد  "), QMessageBox::Information};
inline const Box kBackupFailed = {QStringLiteral(" پشتيبان گيري "), QStringLiteral("  عمليات پشتيبان گيري با مشکل مواجه شده است  "), QMessageBox::Warning};
inline const Box kRestoreDone = {QStringLiteral("بازيابي پشتيبان"), QStringLiteral("  عمليات بازيابي فايل پشتيبان با موفقيت انجام شد  "), QMessageBox::Information};
inline const Box kRestoreFailed = {QStringLiteral("پشتيبان گيري"), QStringLiteral("  عمليات بازيابي فايل پشتيبان با مشکل مواجه شده است  "), QMessageBox::Warning};
// clang-format on

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

// Runs BackupDatabase or RestoreDatabase with the file dialog answering `chosen`; returns the box
// the command ended with.
inline Box answeredCommand(void (*command)(QWidget*, CommonDialog*), const QString& chosen)
{
    CommonDialog dialog;
    DialogAnswers answers;
    answers.answer = chosen;
    return answeredBox([&] { command(nullptr, &dialog); });
}

// Temporary files the commands left behind in a folder.
inline QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp"), QStringLiteral("*.tmp-journal")}, QDir::Files);
}

} // namespace backup_answers
