#include "ui/common_dialog.h"

#include <QFileDialog>
#include <QStringList>

namespace {
CommonDialog::Answer& testAnswer()
{
    static CommonDialog::Answer answer;
    return answer;
}
} // namespace

CommonDialog::CommonDialog(QObject* parent) : QObject(parent) {}

bool CommonDialog::ShowOpen(QWidget* parent)
{
    return show(parent, false);
}

bool CommonDialog::ShowSave(QWidget* parent)
{
    return show(parent, true);
}

QString CommonDialog::qtFilter(const QString& filter)
{
    // "desc|pattern;pattern|desc2|pattern2" -> "desc (pattern pattern);;desc2 (pattern2)"
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

void CommonDialog::setAnswerForTests(Answer answer)
{
    testAnswer() = std::move(answer);
}

bool CommonDialog::show(QWidget* parent, bool save)
{
    std::optional<QString> chosen;
    if (testAnswer()) {
        chosen = testAnswer()(save ? QStringLiteral("save") : QStringLiteral("open"), FileName);
    } else {
        QFileDialog dialog(parent, DialogTitle);
        dialog.setLayoutDirection(Qt::RightToLeft);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!Filter.isEmpty())
            dialog.setNameFilter(qtFilter(Filter));
        if (!FileName.isEmpty())
            dialog.selectFile(FileName);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}
