#include "app/persian_message_box.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <vector>

namespace {

// Button captions by id, as every box of the program shows them.
const QString kOk = QStringLiteral("تأييد");
const QString kCancel = QStringLiteral("لغو");
const QString kAbort = QStringLiteral("قطع عمل");
const QString kRetry = QStringLiteral("سعي مجدد");
const QString kIgnore = QStringLiteral("صرف نظر");
const QString kYes = QStringLiteral("بله");
const QString kNo = QStringLiteral("نه");

struct ButtonSpec
{
    int id;
    QMessageBox::ButtonRole role;
    const QString* caption;
};

// The buttons of each button set, in the order the set names them.
std::vector<ButtonSpec> buttonSet(int set)
{
    switch (set) {
    case 1:
        return {{MsgBoxId::Ok, QMessageBox::AcceptRole, &kOk}, {MsgBoxId::Cancel, QMessageBox::RejectRole, &kCancel}};
    case 2:
        return {{MsgBoxId::Abort, QMessageBox::RejectRole, &kAbort},
                {MsgBoxId::Retry, QMessageBox::AcceptRole, &kRetry},
                {MsgBoxId::Ignore, QMessageBox::AcceptRole, &kIgnore}};
    case 3:
        return {{MsgBoxId::Yes, QMessageBox::YesRole, &kYes},
                {MsgBoxId::No, QMessageBox::NoRole, &kNo},
                {MsgBoxId::Cancel, QMessageBox::RejectRole, &kCancel}};
    case 4:
        return {{MsgBoxId::Yes, QMessageBox::YesRole, &kYes}, {MsgBoxId::No, QMessageBox::NoRole, &kNo}};
    case 5:
        return {{MsgBoxId::Retry, QMessageBox::AcceptRole, &kRetry},
                {MsgBoxId::Cancel, QMessageBox::RejectRole, &kCancel}};
    default:
        return {{MsgBoxId::Ok, QMessageBox::AcceptRole, &kOk}};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// What the close box (or Escape) answers: Cancel where the set has it, else No for Yes/No,
// else the single OK, as the classic box does.
int escapeAnswer(const std::vector<ButtonSpec>& buttons)
{
    for (const auto& b : buttons)
        if (b.id == MsgBoxId::Cancel)
            return b.id;
    if (buttons.size() == 1)
        return buttons.front().id;
    return 0;
}

} // namespace

int PersianMsgBox(QWidget* owner, const QString& prompt, int style, const QString& title)
{
    const auto buttons = buttonSet(style & 0x0F);
    QMessageBox box(owner);
    box.setObjectName(QStringLiteral("PersianMsgBox"));
    box.setLayoutDirection(Qt::RightToLeft);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(title);
    box.setText(prompt);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(iconOf(style));

    std::vector<std::pair<QAbstractButton*, int>> ids;
    for (const auto& spec : buttons) {
        QPushButton* button = box.addButton(*spec.caption, spec.role);
        button->setObjectName(QStringLiteral("MsgBoxButton%1").arg(spec.id));
        ids.emplace_back(button, spec.id);
    }
    const size_t defaultIndex = static_cast<size_t>((style & 0x300) >> 8);
    if (defaultIndex < ids.size())
        box.setDefaultButton(static_cast<QPushButton*>(ids[defaultIndex].first));
    const int onEscape = escapeAnswer(buttons);
    for (const auto& [button, id] : ids)
        if (id == onEscape)
            box.setEscapeButton(button);

    box.exec();
    QAbstractButton* pressed = box.clickedButton();
    for (const auto& [button, id] : ids)
        if (button == pressed)
            return id;
    return onEscape;
}
