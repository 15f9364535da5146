#pragma once
// A window's file dialog (CommonDialog1): its title, filter and file name live on between uses,
// as the windows rely on. Filters are written as "(*.Backup)|*.Backup" (description|patterns).
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

class CommonDialog : public QObject
{
    Q_OBJECT
public:
    explicit CommonDialog(QObject* parent = nullptr);

    QString DialogTitle;
    QString Filter;
    QString FileName;

    // Show the open or save dialog. On acceptance FileName is the chosen path and the result
    // is true; on cancel FileName is left as it was and the result is false.
    bool ShowOpen(QWidget* parent);
    bool ShowSave(QWidget* parent);

    // The filter in Qt's form, e.g. "(*.Backup) (*.Backup)".
    static QString qtFilter(const QString& filter);

    // Tests answer the dialog instead of a person: the function gets "open" or "save" and the
    // file name the dialog starts with, and returns the chosen path, or nothing for cancel.
    using Answer = std::function<std::optional<QString>(const QString& mode, const QString& startName)>;
    static void setAnswerForTests(Answer answer);

private:
    bool show(QWidget* parent, bool save);
    // Qt's file dialog in Persian; the chosen path, or nothing for cancel.
    std::optional<QString> runDialog(QWidget* parent, bool save);
};
