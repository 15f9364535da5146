#include "settings/server_settings_tab.h"

#include "settings/software_settings.h"

#include "storage/database.h"
#include "storage/postgres_store.h"
#include "storage/program_folder.h"
#include "storage/settings_store.h"
#include "ui/controls.h"
#include "ui/persian_message_box.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("سرور بانک اطلاعات");
const QString kNoServer = QStringLiteral("رشته اتصال سرور را بنويسيد.");

} // namespace

ServerSettingsTab::ServerSettingsTab(QWidget* parent) : QWidget(parent)
{
    using namespace Controls;
    setObjectName(QStringLiteral("ServerSettingsTab"));
    ServerLabel =
        fittedLabel(this, "ServerLabel", QStringLiteral("رشته اتصال سرور PostgreSQL (خالي: فايل db.mdb) :"),
                    120, 120, 4935, 255);
    ServerText = latinTextBox(this, "ServerText", 120, 420, 4935, 315);
    ServerText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ServerText->setText(SettingsStore::read(SettingsStore::kDatabase, SettingsStore::kServerKey));
    ServerText->setCursorPosition(0);
    ServerNote = label(
        this, "ServerNote",
        QStringLiteral(
            "رمز عبور را اينجا ننويسيد، آن را در فايل ‎~/.pgpass‎ بگذاريد. "
            "سرور ثبت شده از اجراي بعدي نرم افزار به کار مي رود."),
        120, 780, 4935, 480);
    ServerNote->setWordWrap(true);
    ServerSave = button(this, "ServerSave", QStringLiteral("ثبت سرور"), 3840, 1380, 1215, 375);
    ServerTest = button(this, "ServerTest", QStringLiteral("آزمايش اتصال"), 2520, 1380, 1215, 375);
    ServerCopy = button(this, "ServerCopy", QStringLiteral("انتقال db.mdb به سرور"), 120, 1380, 2295, 375);
    tabOrder({ServerText, ServerSave, ServerTest, ServerCopy});
    connect(ServerSave, &QPushButton::clicked, this, &ServerSettingsTab::ServerSave_Click);
    connect(ServerTest, &QPushButton::clicked, this, &ServerSettingsTab::ServerTest_Click);
    connect(ServerCopy, &QPushButton::clicked, this, &ServerSettingsTab::ServerCopy_Click);
}

QString ServerSettingsTab::caption()
{
    return QStringLiteral("    سرور    ");
}

void ServerSettingsTab::ServerSave_Click()
{
    const QString server = ServerText->text().trimmed();
    const QString problem = server.isEmpty() ? QString() : Postgres::checkConnectionString(server);
    if (!problem.isEmpty()) {
        PersianMsgBox(this, problem, MsgBoxStyle::Exclamation, kTitle);
        return;
    }
    if (!settingsSaved(this, SettingsStore::write(SettingsStore::kDatabase, SettingsStore::kServerKey, server), kTitle))
        return;
    PersianMsgBox(this,
                  server.isEmpty()
                      ? QStringLiteral("سرور حذف شد؛ نرم افزار از اجراي بعدي با فايل db.mdb کار مي کند.")
                      : QStringLiteral("سرور ثبت شد؛ نرم افزار از اجراي بعدي با اين سرور کار مي کند."),
                  MsgBoxStyle::Information, kTitle);
}

void ServerSettingsTab::ServerTest_Click()
{
    const QString server = ServerText->text().trimmed();
    const QString problem = server.isEmpty() ? kNoServer : Postgres::Server::testConnection(server);
    if (problem.isEmpty())
        PersianMsgBox(
            this,
            QStringLiteral("اتصال به سرور برقرار شد و اين نرم افزار مي تواند با بانک اطلاعات آن کار کند."),
            MsgBoxStyle::Information, kTitle);
    else
        PersianMsgBox(this, problem, MsgBoxStyle::Exclamation, kTitle);
}

void ServerSettingsTab::ServerCopy_Click()
{
    const QString server = ServerText->text().trimmed();
    const QString file = QDir(programFolder()).absoluteFilePath(QStringLiteral("db.mdb"));
    QString problem = server.isEmpty() ? kNoServer : Database::checkFile(file);
    std::unique_ptr<Postgres::Server> store;
    if (problem.isEmpty())
        store = Postgres::Server::open(server, &problem);
    if (store)
        problem = Postgres::replaceFromDatabaseFile(store.get(), file, true);
    if (problem.isEmpty())
        PersianMsgBox(this, QStringLiteral("اطلاعات فايل db.mdb به سرور منتقل شد."), MsgBoxStyle::Information,
                      kTitle);
    else
        PersianMsgBox(this,
                      QStringLiteral("اطلاعات به سرور منتقل نشد و چيزي در سرور تغيير نکرد:\n%1").arg(problem),
                      MsgBoxStyle::Exclamation, kTitle);
}
