#pragma once
// The server page of the software settings window: the libpq connection string of the shop's
// PostgreSQL server (empty for the database file db.mdb), a button that tries it, and one that
// copies the program's db.mdb into an empty server database in one transaction. The string is
// stored without a password; a changed server is used from the next start.
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class ServerSettingsTab : public QWidget
{
    Q_OBJECT
public:
    explicit ServerSettingsTab(QWidget* parent = nullptr);
    // The caption of its tab.
    static QString caption();

    QLabel* ServerLabel = nullptr;
    QLineEdit* ServerText = nullptr; // connection string
    QLabel* ServerNote = nullptr;
    QPushButton* ServerSave = nullptr;
    QPushButton* ServerTest = nullptr;
    QPushButton* ServerCopy = nullptr;

public Q_SLOTS:
    void ServerSave_Click();
    void ServerTest_Click();
    void ServerCopy_Click();
};
