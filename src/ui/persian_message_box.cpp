#include "ui/persian_message_box.h"

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
    const QString* caption;
};

// The buttons of each button set, in the order the set names them.
std::vector<ButtonSpec> buttonSet(int set)
{
    switch (set) {
    case 1:
        return {{MsgBoxId::Ok, &kOk}, {MsgBoxId::Cancel, &kCancel}};
    case 2:
        return {{MsgBoxId::Abort, &kAbort}, {MsgBoxId::Retry, &kRetry}, {MsgBoxId::Ignore, &kIgnore}};
    case 3:
        return {{MsgBoxId::Yes, &kYes}, {MsgBoxId::No, &kNo}, {MsgBoxId::Cancel, &kCancel}};
    case 4:
        return {{MsgBoxId::Yes, &kYes}, {MsgBoxId::No, &kNo}};
    case 5:
        return {{MsgBoxId::Retry, &kRetry}, {MsgBoxId::Cancel, &kCancel}};
    default:
        return {{MsgBoxId::Ok, &kOk}};
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

// What the close box (or Escape) answers: Cancel where the set has it, No in a Yes/No box (any
// answer but Yes is a no), the single OK; an Abort/Retry/Ignore box must be answered.
int escapeAnswer(const std::vector<ButtonSpec>& buttons)
{
    for (int id : {MsgBoxId::Cancel, MsgBoxId::No})
        for (const auto& b : buttons)
            if (b.id == id)
                return id;
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
    // One role for all keeps the set's order (first button at the right) under every
    // platform's button layout; the answer comes from the button itself.
    for (const auto& entry : buttons) {
        QPushButton* button = box.addButton(*entry.caption, QMessageBox::ActionRole);
        button->setObjectName(QStringLiteral("MsgBoxButton%1").arg(entry.id));
        ids.emplace_back(button, entry.id);
    }
    const size_t defaultIndex = static_cast<size_t>((style & 0x300) >> 8);
    box.setDefaultButton(static_cast<QPushButton*>(ids[defaultIndex < ids.size() ? defaultIndex : 0].first));
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
