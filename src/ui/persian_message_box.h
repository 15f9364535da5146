#pragma once
// Every notice and yes/no question of the program: a modal box laid out right to left, with
// Persian button captions. Style in the classic message-box encoding (buttons 0-5, icon
// +16/+32/+48/+64, default +256/+512); returns the id of the pressed button:
// 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No.
#include <QString>

class QWidget;

// The icons and the Yes/No button set by name, to add up into a style.
namespace MsgBoxStyle {
enum : int { YesNo = 4, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
}

namespace MsgBoxId {
enum : int { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
}

int PersianMsgBox(QWidget* owner, const QString& prompt, int style, const QString& title);
