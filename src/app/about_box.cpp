#include "app/about_box.h"

Form17::Form17(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form17"));
}
