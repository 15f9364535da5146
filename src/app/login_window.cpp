#include "app/login_window.h"

Form18::Form18(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form18"));
}
